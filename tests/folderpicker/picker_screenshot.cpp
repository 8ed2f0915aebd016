// Renders the folder picker, open at the program's current folder, to a PNG:
//   picker_screenshot [file.png]   (default screenshots/folder_picker.png)
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "fake_window.h"
#include "folderpicker/form1.h"
#include "platform/drives.h"
#include "platform/native_file_system.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral("screenshots/folder_picker.png");
    QDir().mkpath(QFileInfo(file).path());

    const auto fs = tessark::makeNativeFileSystem();
    const auto drives = tessark::makeNativeDriveSource();
    tessark::test::FakeWindow window;
    QPointer<tessark::Form1> picker;
    bool saved = false;
    QTimer::singleShot(0, [&] {
        saved = picker->grab().save(file);
        picker->hide();
    });
    tessark::showFolderPicker(picker, *fs, *drives, window.messages, window.Text2, window.Text4);
    delete picker.data();
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved ? 0 : 1;
}
