// SPDX-License-Identifier: MIT
// Starts the program: the main window, and nothing read from anywhere.
#include <QApplication>

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
    return QApplication::exec();
}
