// SPDX-License-Identifier: MIT
// Shared pieces of the window tests: a registry of Qt Test classes run by one
// executable, and a main window wired to recording stand-ins.
#pragma once

#include <QDateTime>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_file_system.h"
#include "fake_window.h"
#include "gui/form2.h"

namespace tessark::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<std::pair<std::string, TestFactory>>& testRegistry();

struct RegisterTest {
    RegisterTest(const char* name, TestFactory factory) {
        testRegistry().emplace_back(name, std::move(factory));
    }
};

#define TESSARK_GUI_TEST(Class)                                 \
    static const ::tessark::test::RegisterTest register##Class( \
        #Class, [] { return std::unique_ptr<QObject>(new Class); })

// The text a control shows as its caption: a frame's title, a button's or a
// label's text, an edit's text; empty for any other widget.
QString captionOf(const QWidget* w);

// Form2 with a scripted message box and file dialog, a recorded web-site link
// and end of program, and a clock the test can set. The file system is the
// in-memory one unless `nativeFiles` is set.
struct Harness {
    explicit Harness(bool nativeFiles = false);
    ~Harness();

    template <typename W = QWidget>
    W* child(const char* name) const {
        W* found = form->findChild<W*>(QLatin1String(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }
    // Shows the window and waits until it has the keyboard.
    bool showActive();
    // The About window, if one is open.
    static QWidget* aboutWindow();

    EventLog log;
    FakeMessageBox messages{log};
    FakeCommonDialog dialog;
    FakeFileSystem files{u'\\'};
    QDateTime clock = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
    int webSiteOpenings = 0;
    int endings = 0;
    std::function<void()> onWebSite;
    std::unique_ptr<Form2> form;
};

}  // namespace tessark::test
