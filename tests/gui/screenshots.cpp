// SPDX-License-Identifier: MIT
// Writes pictures of the windows: the main window at start and after a split
// of a generated file, and the About window. Usage: gui_screenshots FOLDER
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "fake_window.h"
#include "gui/form2.h"
#include "gui/frm_about.h"
#include "qtshared/qt_text.h"

namespace {

bool save(QWidget* window, const QString& folder, const char* name) {
    QTest::qWait(200);
    const QString path = QDir(folder).filePath(QLatin1String(name));
    if (!window->grab().save(path)) {
        qWarning("cannot write %s", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: gui_screenshots FOLDER");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    QTemporaryDir work;
    const QString source = QDir::toNativeSeparators(work.filePath(QStringLiteral("holiday.avi")));
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly)) {
        return 1;
    }
    file.write(QByteArray(3'500'000, 'x'));
    file.close();

    tessark::test::EventLog log;
    tessark::test::FakeMessageBox messages(log);
    tessark::test::FakeCommonDialog dialog;
    dialog.picks = {tessark::tx(source)};
    tessark::Form2Services services;
    services.messages = &messages;
    services.dialog = &dialog;
    services.openWebSite = [] {};
    tessark::Form2 form(std::move(services));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        return 1;
    }
    QTest::qWait(1200);  // the clock's first tick
    bool ok = save(&form, folder, "main-start.png");

    form.controller().Command1_Click();
    form.controller().Command3_Click();
    ok = save(&form, folder, "main-after-split.png") && ok;

    form.controller().Command12_Click();
    if (!QTest::qWaitForWindowExposed(form.about())) {
        return 1;
    }
    ok = save(form.about(), folder, "about.png") && ok;
    form.about()->close();

    // The folder picker is modal: it is pictured from inside its own loop.
    bool pickerSaved = false;
    QTimer::singleShot(0, [&] {
        QWidget* picker = QApplication::activeModalWidget();
        if (picker != nullptr) {
            pickerSaved = save(picker, folder, "folder-picker.png");
            picker->hide();
        }
    });
    form.controller().Command2_Click();
    return ok && pickerSaved ? 0 : 1;
}
