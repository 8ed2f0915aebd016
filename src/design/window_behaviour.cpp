// SPDX-License-Identifier: MIT
#include "design/window_behaviour.h"

#include "design/window_design.h"

namespace tessark::design {

void option1Click(ControlSurface& form) {
    if (form.checked("Option1")) {
        form.setEnabled("Text3", false);
        form.setVisible("Text3", false);
        form.setVisible("Label1", false);
    }
}

// The box keeps its text while hidden, so choosing the custom size again
// brings back what was typed before.
void option2Click(ControlSurface& form) {
    if (form.checked("Option2")) {
        form.setEnabled("Text3", true);
        form.setVisible("Text3", true);
        form.setVisible("Label1", true);
        form.setFocus("Text3");
    }
}

KeyAction form2KeyAction(std::string_view control, int keyAscii) {
    if (keyAscii != kEnterKey) {
        return KeyAction::PassOn;
    }
    // Option2 has no key handler of its own: Enter on it does nothing.
    if (control == "Text1" || control == "Text2" || control == "Text3" || control == "Option1") {
        return KeyAction::StartSplit;
    }
    if (control == "Text4" || control == "List1") {
        return KeyAction::StartMerge;
    }
    if (const Control* found = form2Design().find(control)) {
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
