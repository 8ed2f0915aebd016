// SPDX-License-Identifier: MIT
#include "design/window_behaviour.h"

#include "design/window_design.h"

namespace tessark::design {

void option1Click(ControlSurface& form) {
    if (form.checked(Form2Control::Option1)) {
        form.setEnabled(Form2Control::Text3, false);
        form.setVisible(Form2Control::Text3, false);
        form.setVisible(Form2Control::Label1, false);
    }
}

// The box keeps its text while hidden, so choosing the custom size again
// brings back what was typed before.
void option2Click(ControlSurface& form) {
    if (form.checked(Form2Control::Option2)) {
        form.setEnabled(Form2Control::Text3, true);
        form.setVisible(Form2Control::Text3, true);
        form.setVisible(Form2Control::Label1, true);
        form.setFocus(Form2Control::Text3);
    }
}

KeyAction form2KeyAction(Form2Control control, int keyAscii) {
    if (keyAscii != kEnterKey) {
        return KeyAction::PassOn;
    }
    using enum Form2Control;
    // Option2 has no key handler of its own: Enter on it does nothing.
    if (control == Text1 || control == Text2 || control == Text3 || control == Option1) {
        return KeyAction::StartSplit;
    }
    if (control == Text4 || control == List1) {
        return KeyAction::StartMerge;
    }
    if (const Control* found = form2Design().find(nameOf(control))) {
        const Kind kind = found->kind;
        if (kind == Kind::Button || kind == Kind::PictureButton || kind == Kind::CaptionButton) {
            return KeyAction::Press;
        }
    }
    return KeyAction::PassOn;
}

void aboutClick(ShellSurface& shell) {
    shell.hideMain();
    shell.showAbout();
}

// Whichever panel was clicked, the clock's and the empty ones included.
void statusPanelClick(ShellSurface& shell, int /*panel*/) {
    aboutClick(shell);
    shell.openWebSite();
}

}  // namespace tessark::design
