// SPDX-License-Identifier: MIT
// Form2's behaviour, written once for every toolkit: the window's handlers,
// named after their control and event, over the one interface to the window
// (Form2Window, forms/form2_window.h). A toolkit builds the widgets,
// implements that interface, and turns each native event into a call here: a
// click or a key on a control by its typed id, a status-bar panel click, a
// timer tick, a close.
#pragma once

#include "design/control_ids.h"
#include "forms/controls.h"
#include "forms/form2_window.h"
#include "forms/job.h"

namespace tessark {

class FileSystem;
class ServicesInUse;

class Form2Controller {
  public:
    Form2Controller(Form2Window& window, const ServicesInUse& services);

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
    // A close of the window (its close box, Alt+F4, a close sent to it): true
    // when it may go on to unload. While a split or a merge runs it may not;
    // the close becomes a request to stop the job and end the program.
    bool Form_QueryUnload();
    void Form_Unload();

    // The controls the handlers work on.
    MainControls& controls() { return w_; }
    bool jobRunning() const { return jobRunning_; }

  private:
    // Runs Start split or Start merge, then ends the program when the user
    // stopped it through the close box or Exit, or asked to close when it
    // could no longer stop.
    void runJob(AfterJob (*job)(MainControls&, FileSystem&));
    // Where Enter on `control` leads: the split, the merge or a press.
    void enter(design::Form2Control control, int keyAscii);

    Form2Window& window_;
    MainControls w_;
    const ServicesInUse& services_;
    bool jobRunning_ = false;
};

}  // namespace tessark
