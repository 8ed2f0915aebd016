// SPDX-License-Identifier: MIT
// The toolkit-neutral behaviour of the main window against a window that
// records what it is asked to do.
#include "forms/form2_window.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fake_window.h"
#include "forms/form2_controller.h"
#include "forms/window_services.h"

namespace tessark {
namespace {

using design::controlNamed;
using design::Form2Control;

struct RecordingSurface : Form2Window {
    std::set<std::string, std::less<>> checkedOptions;
    std::vector<std::string> log;
    test::FakeWindow fake;

    MainControls controls() override { return fake.controls(); }
    bool checked(Form2Control option) const override {
        return checkedOptions.count(nameOf(option)) > 0;
    }
    void showControl(Form2Control control, bool visible) override {
        log.push_back((visible ? "show " : "hide ") + std::string(nameOf(control)));
    }
    void enableControl(Form2Control control, bool enabled) override {
        log.push_back((enabled ? "enable " : "disable ") + std::string(nameOf(control)));
    }
    void focusControl(Form2Control control) override {
        log.push_back("focus " + std::string(nameOf(control)));
    }
    void press(Form2Control) override {}
    void hideMain() override { log.emplace_back("hide Form2"); }
    void showAbout() override { log.emplace_back("show frmAbout"); }
    void showPicker() override {}
    std::optional<Text> timeOfDay() override { return std::nullopt; }
};

using Log = std::vector<std::string>;

TEST(OptionClicks, ShowAndHideTheCustomSizeInTheirOrder) {
    struct Case {
        const char* checked;
        void (*handler)(Form2Window&);
        Log expected;
    };
    const Case cases[] = {
        {"Option1", option1Click, {"disable Text3", "hide Text3", "hide Label1"}},
        {"Option2", option2Click, {"enable Text3", "show Text3", "show Label1", "focus Text3"}},
        // A handler whose own button is not the selected one leaves everything alone.
        {"Option2", option1Click, {}},
        {"Option1", option2Click, {}},
    };
    for (const Case& c : cases) {
        RecordingSurface form;
        form.checkedOptions.insert(c.checked);
        c.handler(form);
        EXPECT_EQ(form.log, c.expected) << c.checked;
    }
}

TEST(EnterRouting, EachControlStartsItsAction) {
    struct Case {
        const char* control;
        int key;
        KeyAction expected;
    };
    const Case cases[] = {
        {"Text1", kEnterKey, KeyAction::StartSplit},
        {"Text2", kEnterKey, KeyAction::StartSplit},
        {"Text3", kEnterKey, KeyAction::StartSplit},
        {"Option1", kEnterKey, KeyAction::StartSplit},
        {"Text4", kEnterKey, KeyAction::StartMerge},
        {"List1", kEnterKey, KeyAction::StartMerge},
        {"Option2", kEnterKey, KeyAction::PassOn},  // no key handler of its own
        {"Command1", kEnterKey, KeyAction::Press},
        {"Command3", kEnterKey, KeyAction::Press},
        {"Command4", kEnterKey, KeyAction::Press},
        {"Command13", kEnterKey, KeyAction::Press},
        {"Label2", kEnterKey, KeyAction::PassOn},
        {"WebBrowser1", kEnterKey, KeyAction::PassOn},
        {"NoSuchControl", kEnterKey, KeyAction::PassOn},
        // Only the character code 13 counts: a line feed or a letter passes on.
        {"Text1", 10, KeyAction::PassOn},
        {"Text4", 'a', KeyAction::PassOn},
        {"Command3", ' ', KeyAction::PassOn},
    };
    // A name that is no control of the window names nothing a key could reach.
    for (const Case& c : cases) {
        const auto control = controlNamed<Form2Control>(c.control);
        const KeyAction action = control ? form2KeyAction(*control, c.key) : KeyAction::PassOn;
        EXPECT_EQ(action, c.expected) << c.control << " " << c.key;
    }
}

TEST(ShellButtons, AboutAndPanelClicksHideTheMainWindowFirst) {
    RecordingSurface about;
    aboutClick(about);
    EXPECT_EQ(about.log, (Log{"hide Form2", "show frmAbout"}));
    for (int panel = 1; panel <= 5; ++panel) {
        RecordingSurface shell;
        WindowServices given;
        given.messages = &shell.fake.messages;
        given.dialog = &shell.fake.CommonDialog1;
        given.openWebSite = [&] { shell.log.emplace_back("open web site"); };
        const ServicesInUse services(given, {});
        Form2Controller(shell, services).StatusBar1_PanelClick(panel);
        EXPECT_EQ(shell.log, (Log{"hide Form2", "show frmAbout", "open web site"})) << panel;
    }
}

}  // namespace
}  // namespace tessark
