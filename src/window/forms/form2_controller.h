// SPDX-License-Identifier: MIT
// Form2's behaviour, written once for every toolkit: the window's handlers,
// named after their control and event, over the control interfaces. A
// toolkit builds the widgets, implements the interfaces and the shell below,
// and turns each native event into a call here: a click or a key on a control
// by its typed id, a status-bar panel click, a timer tick.
#pragma once

#include <optional>

#include "design/control_ids.h"
#include "design/window_behaviour.h"
#include "engine/core/text.h"
#include "forms/controls.h"
#include "forms/job.h"

namespace tessark {

class FileSystem;
class ServicesInUse;

// What only the toolkit can do for the main window.
class Form2Shell {
  public:
    virtual ~Form2Shell() = default;
    virtual void hideMain() = 0;
    // Creates the About window if there is none and shows it without an owner.
    virtual void showAbout() = 0;
    // Presses a button as a click of the user's would.
    virtual void press(design::Form2Control button) = 0;
    // Opens the folder picker modally; it writes into Text2 and Text4.
    virtual void showPicker() = 0;
    // The clock panel's text now; nothing when the time cannot be read.
    virtual std::optional<Text> timeOfDay() = 0;
};

class Form2Controller : private design::ShellSurface {
  public:
    Form2Controller(MainControls controls, design::ControlSurface& surface, Form2Shell& shell,
                    const ServicesInUse& services);

    // A click on `control` (a button, an option, the list); false when the
    // control has no click handler.
    bool click(design::Form2Control control);
    // A key with character code `keyAscii` typed on `control`.
    void keyPress(design::Form2Control control, int keyAscii);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    void Command13_Click();
    void List1_Click();
    void List1_KeyPress(int keyAscii);
    void Option1_Click();
    void Option2_Click();
    void Option1_KeyPress(int keyAscii);
    void Text1_KeyPress(int keyAscii);
    void Text2_KeyPress(int keyAscii);
    void Text3_KeyPress(int keyAscii);
    void Text4_KeyPress(int keyAscii);
    void StatusBar1_PanelClick(int panel);
    void Timer1_Timer();
    void Form_Unload();

    // The controls the handlers work on.
    MainControls& controls() { return w_; }
    // While a split or a merge runs, a close that reaches the window is a
    // request to stop the job (for the window's repaint hook), not an unload.
    bool jobRunning() const { return jobRunning_; }

  private:
    // Runs Start split or Start merge, then ends the program when the user
    // stopped it through the close box or Exit, or asked to close when it
    // could no longer stop.
    void runJob(AfterJob (*job)(MainControls&, FileSystem&));
    // Where Enter on `control` leads: the split, the merge or a press.
    void enter(design::Form2Control control, int keyAscii);
    // design::ShellSurface, for the shell buttons' shared steps.
    void hideMain() override;
    void showAbout() override;
    void openWebSite() override;

    MainControls w_;
    design::ControlSurface& surface_;
    Form2Shell& shell_;
    const ServicesInUse& services_;
    bool jobRunning_ = false;
};

}  // namespace tessark
