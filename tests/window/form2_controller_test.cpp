// SPDX-License-Identifier: MIT
// Form2Controller routes "this control, this event" to the right handler:
// clicks by their tables, Enter by the control's handler or kind, the shell
// buttons and the clock, over recording fakes.
#include "forms/form2_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fake_file_system.h"
#include "fake_window.h"
#include "forms/window_services.h"

namespace tessark {
namespace {

using design::Form2Control;
using enum Form2Control;
using Log = std::vector<std::string>;

struct Recorder : Form2Window {
    explicit Recorder(test::FakeWindow& window) : w(window), log(window.log) {}
    MainControls controls() override { return w.controls(); }
    void hideMain() override { log.emplace_back("hide Form2"); }
    void showAbout() override { log.emplace_back("show frmAbout"); }
    void press(Form2Control button) override {
        log.push_back("press " + std::string(nameOf(button)));
    }
    void showPicker() override { log.emplace_back("picker"); }
    std::optional<Text> timeOfDay() override { return u"12:34:56"; }
    bool checked(Form2Control option) const override { return option == Option2; }
    void showControl(Form2Control c, bool on) override {
        log.push_back((on ? "show " : "hide ") + std::string(nameOf(c)));
    }
    void enableControl(Form2Control c, bool on) override {
        log.push_back((on ? "enable " : "disable ") + std::string(nameOf(c)));
    }
    void focusControl(Form2Control c) override { log.push_back("focus " + std::string(nameOf(c))); }
    test::FakeWindow& w;
    test::EventLog& log;
};

struct Case {
    const char* what;
    std::function<void(Form2Controller&)> event;
    Log expected;
};

TEST(Form2ControllerTest, EachEventReachesItsHandler) {
    const Case cases[] = {
        {"Command2", [](auto& c) { c.click(Command2); }, {"picker"}},
        {"Command10", [](auto& c) { c.click(Command10); }, {"picker"}},
        {"Command12", [](auto& c) { c.click(Command12); }, {"hide Form2", "show frmAbout"}},
        {"Command13", [](auto& c) { c.click(Command13); }, {"end"}},
        {"Command7", [](auto& c) { c.click(Command7); }, {"List1.clear"}},
        {"Option2",
         [](auto& c) { c.click(Option2); },
         {"enable Text3", "show Text3", "show Label1", "focus Text3"}},
        {"Label2 has no click", [](auto& c) { EXPECT_FALSE(c.click(Label2)); }, {}},
        {"Enter on a button", [](auto& c) { c.keyPress(Command5, 13); }, {"press Command5"}},
        {"a letter on a button", [](auto& c) { c.keyPress(Command5, 'a'); }, {}},
        {"Enter on Option2", [](auto& c) { c.keyPress(Option2, 13); }, {}},
        // Enter in a split box starts the split, in the merge's the merge:
        // each refuses its empty input and goes back to it.
        {"Enter on Text2",
         [](auto& c) { c.keyPress(Text2, 13); },
         {"msgbox style=48", "Text1.focus"}},
        {"Enter on List1",
         [](auto& c) { c.keyPress(List1, 13); },
         {"msgbox style=48", "Text4.focus"}},
        {"panel 3",
         [](auto& c) { c.StatusBar1_PanelClick(3); },
         {"hide Form2", "show frmAbout", "web site"}},
        {"Form_Unload", [](auto& c) { c.Form_Unload(); }, {"end"}},
    };
    for (const Case& c : cases) {
        test::FakeWindow w;
        test::FakeFileSystem fs;
        Recorder shell(w);
        WindowServices given{&fs,
                             &w.messages,
                             &w.CommonDialog1,
                             nullptr,
                             [&] { w.log.emplace_back("web site"); },
                             [&] { w.log.emplace_back("end"); }};
        const ServicesInUse services(given, {});
        Form2Controller controller(shell, services);
        c.event(controller);
        EXPECT_EQ(w.log, c.expected) << c.what;
    }
}

// A request the job could no longer act on (here: the split was refused
// before it began) is taken once it is over: a close ends the program, an Esc
// is spent rather than kept for the next job.
TEST(Form2ControllerTest, ARequestLeftAfterAJobIsTakenOnce) {
    const std::pair<StopRequest, Log> cases[] = {
        {StopRequest::StopAndEnd, {"msgbox style=48", "Text1.focus", "end"}},
        {StopRequest::Stop, {"msgbox style=48", "Text1.focus"}},
        {StopRequest::None, {"msgbox style=48", "Text1.focus"}},
    };
    for (const auto& [request, expected] : cases) {
        test::FakeWindow w;
        test::FakeFileSystem fs;
        Recorder shell(w);
        WindowServices given{&fs,     &w.messages, &w.CommonDialog1,
                             nullptr, {},          [&] {
                                 w.log.emplace_back("end"); }};
        const ServicesInUse services(given, {});
        Form2Controller controller(shell, services);
        w.stop.stopAt = 0;
        w.stop.request = request;
        controller.click(Command3);
        EXPECT_EQ(w.log, expected);
        EXPECT_EQ(w.stop.takes, 1);
        EXPECT_FALSE(controller.jobRunning());
    }
}

// A close that reaches the window while a job runs (here under the split's
// questions) does not unload it: it asks to stop the job, and the stopped job
// ends the program. Outside a job the close lets the window unload.
TEST(Form2ControllerTest, ACloseDuringAJobStopsItAndEndsTheProgram) {
    test::FakeWindow w;
    test::FakeFileSystem fs{u'\\'};
    fs.chunk = 100;
    fs.addFolder(u"C:\\out");
    fs.addFile(u"C:\\in.bin", std::string(2500, 's'));
    fs.addFile(u"C:\\out\\m.002", "old");
    w.Text1.value = u"C:\\in.bin";
    w.Text2.value = u"C:\\out\\m";
    w.Option1.isSelected = false;
    w.Text3.value = u"1";
    Recorder shell(w);
    WindowServices given{&fs,     &w.messages, &w.CommonDialog1,
                         nullptr, {},          [&] { w.log.emplace_back("end"); }};
    const ServicesInUse services(given, {});
    Form2Controller controller(shell, services);
    EXPECT_TRUE(controller.Form_QueryUnload());
    std::vector<bool> mayUnload;
    w.messages.whileShown = [&](const test::ShownBox&) {
        mayUnload.push_back(controller.Form_QueryUnload());
    };
    controller.click(Command3);
    w.messages.whileShown = nullptr;
    ASSERT_FALSE(mayUnload.empty());
    EXPECT_EQ(std::count(mayUnload.begin(), mayUnload.end(), true), 0);
    const auto& boxes = w.messages.shown;
    EXPECT_EQ(std::count_if(
                  boxes.begin(), boxes.end(),
                  [](const test::ShownBox& box) { return box.prompt == u"确定要停止分割吗？"; }),
              1);
    EXPECT_EQ(boxes.back().prompt, u"分割已停止。");
    EXPECT_EQ(w.log.back(), "end");
    EXPECT_TRUE(controller.Form_QueryUnload());
}

TEST(Form2ControllerTest, TheTimerShowsTheTimeInTheFifthPanel) {
    test::FakeWindow w;
    test::FakeFileSystem fs;
    Recorder shell(w);
    WindowServices given;
    given.fileSystem = &fs;
    given.messages = &w.messages;
    given.dialog = &w.CommonDialog1;
    const ServicesInUse services(given, {});
    Form2Controller controller(shell, services);
    controller.Timer1_Timer();
    EXPECT_EQ(w.StatusBar1.panels[4], u"12:34:56");
}

}  // namespace
}  // namespace tessark
