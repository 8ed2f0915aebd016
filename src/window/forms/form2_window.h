// SPDX-License-Identifier: MIT
// Form2 as its controller reaches it: the one interface a toolkit implements
// over its widgets, and the steps of the window's behaviour written over it
// (where the Enter key leads, what the block-size options show and hide, what
// the About button does).
#pragma once

#include <optional>

#include "design/control_ids.h"
#include "engine/core/text.h"
#include "forms/controls.h"

namespace tessark {

inline constexpr int kEnterKey = 13;

// The main window: its controls, and what only the toolkit can do for it.
class Form2Window {
  public:
    virtual ~Form2Window() = default;

    // The controls the split, the merge and the list operations read and write.
    virtual MainControls controls() = 0;

    // Form2's controls by id, as the block-size options use them.
    virtual bool checked(design::Form2Control option) const = 0;
    virtual void showControl(design::Form2Control control, bool visible) = 0;
    virtual void enableControl(design::Form2Control control, bool enabled) = 0;
    // Moves the focus; where it cannot (the window is not shown), nothing happens.
    virtual void focusControl(design::Form2Control control) = 0;
    // Presses a button as a click of the user's would.
    virtual void press(design::Form2Control button) = 0;

    virtual void hideMain() = 0;
    // Creates the About window if there is none and shows it without an owner.
    virtual void showAbout() = 0;
    // Opens the folder picker modally; it writes into Text2 and Text4.
    virtual void showPicker() = 0;
    // The clock panel's text now; nothing when the time cannot be read.
    virtual std::optional<Text> timeOfDay() = 0;
};

// Option1_Click: the fixed block size hides the custom-size box and its unit.
void option1Click(Form2Window& form);
// Option2_Click: the custom block size shows them and puts the focus in the box.
void option2Click(Form2Window& form);

enum class KeyAction {
    PassOn,      // the key goes to the control and nothing else happens
    StartSplit,  // run Command3_Click, then the control still gets the key
    StartMerge,  // run Command6_Click, then the control still gets the key
    Press,       // a focused button: Enter presses it, as the space bar does
};

// What a key with character code `keyAscii` reaching Form2's `control` starts.
KeyAction form2KeyAction(design::Form2Control control, int keyAscii);

// Command12_Click: the About window in place of the main window.
void aboutClick(Form2Window& form);

}  // namespace tessark
