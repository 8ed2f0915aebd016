// SPDX-License-Identifier: MIT
// What the main window's controls do that does not depend on the toolkit:
// where the Enter key leads, what the block-size options show and hide, and
// what the About button and a status-bar click do. Each front end implements
// the small interfaces below over its own widgets and calls these functions
// from its event handlers.
#pragma once

#include "design/control_ids.h"

namespace tessark::design {

inline constexpr int kEnterKey = 13;

// Form2's controls, as the block-size options use them.
class ControlSurface {
  public:
    virtual ~ControlSurface() = default;
    virtual bool checked(Form2Control option) const = 0;
    virtual void setVisible(Form2Control control, bool visible) = 0;
    virtual void setEnabled(Form2Control control, bool enabled) = 0;
    // Moves the focus; where it cannot (the window is not shown), nothing happens.
    virtual void setFocus(Form2Control control) = 0;
};

// Option1_Click: the fixed block size hides the custom-size box and its unit.
void option1Click(ControlSurface& form);
// Option2_Click: the custom block size shows them and puts the focus in the box.
void option2Click(ControlSurface& form);

enum class KeyAction {
    PassOn,      // the key goes to the control and nothing else happens
    StartSplit,  // run Command3_Click, then the control still gets the key
    StartMerge,  // run Command6_Click, then the control still gets the key
    Press,       // a focused button: Enter presses it, as the space bar does
};

// What a key with character code `keyAscii` reaching Form2's `control` starts.
KeyAction form2KeyAction(Form2Control control, int keyAscii);

// The main window and what it opens, as its shell buttons use them.
class ShellSurface {
  public:
    virtual ~ShellSurface() = default;
    virtual void hideMain() = 0;
    // Creates the About window if there is none and shows it without an owner.
    virtual void showAbout() = 0;
    virtual void openWebSite() = 0;
};

// Command12_Click: the About window in place of the main window.
void aboutClick(ShellSurface& shell);
// StatusBar1_PanelClick: the same for every panel, then the maker's web site.
void statusPanelClick(ShellSurface& shell, int panel);

}  // namespace tessark::design
