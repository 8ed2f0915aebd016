// SPDX-License-Identifier: MIT
#include "forms/form2_window.h"

#include "design/window_design.h"

namespace tessark {

using design::Form2Control;

void option1Click(Form2Window& form) {
    if (form.checked(Form2Control::Option1)) {
        form.enableControl(Form2Control::Text3, false);
        form.showControl(Form2Control::Text3, false);
        form.showControl(Form2Control::Label1, false);
    }
}

// The box keeps its text while hidden, so choosing the custom size again
// brings back what was typed before.
void option2Click(Form2Window& form) {
    if (form.checked(Form2Control::Option2)) {
        form.enableControl(Form2Control::Text3, true);
        form.showControl(Form2Control::Text3, true);
        form.showControl(Form2Control::Label1, true);
        form.focusControl(Form2Control::Text3);
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
    using design::Kind;
    if (const design::Control* found = design::form2Design().find(nameOf(control))) {
        const Kind kind = found->kind;
        if (kind == Kind::Button || kind == Kind::PictureButton || kind == Kind::CaptionButton) {
            return KeyAction::Press;
        }
    }
    return KeyAction::PassOn;
}

void aboutClick(Form2Window& form) {
    form.hideMain();
    form.showAbout();
}

}  // namespace tessark
