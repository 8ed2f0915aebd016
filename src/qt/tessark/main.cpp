// SPDX-License-Identifier: MIT
// Starts the program: the main window, then the files named on the command
// line (a file manager's "Open with"). Without any, nothing is read from disk.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "gui/form2.h"

#ifdef TESSARK_WEBENGINE
#include <unistd.h>
#endif

int main(int argc, char* argv[]) {
#ifdef TESSARK_WEBENGINE
    // The browser's sandbox refuses to start for the superuser.
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessark"));
    QApplication::setDesktopFileName(QStringLiteral("tessark"));
    tessark::Form2 window;
    window.show();
    // Arguments are file names, relative to where the program was started;
    // Qt has already taken out its own options.
    QStringList files;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        files << QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath());
    }
    if (!files.isEmpty()) {
        // Once the window is up, so that any message stands over it.
        QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    }
    return QApplication::exec();
}
