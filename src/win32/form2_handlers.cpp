// SPDX-License-Identifier: MIT
// Form2's notifications turned into the controller's events, and what the
// controller asks of the window: pressing a button, the picker, the About
// window.
#include "win32/win32_api.h"

#include "win32/form1.h"
#include "win32/form2.h"
#include "win32/form2_parts.h"
#include "win32/frm_about.h"

namespace tessark::win32 {

using design::Form2Control;

bool Form2::onCommand(int id, int code) {
    const auto control = parts_->ids->of(id);
    if (!control) {
        return false;
    }
    // A selection moved by the mouse or the keyboard is a click; selections
    // made by the program call the handler themselves.
    if (*control == Form2Control::List1) {
        return code == LBN_SELCHANGE && parts_->controller->click(*control);
    }
    return code == BN_CLICKED && parts_->controller->click(*control);
}

void Form2::hideMain() {
    ShowWindow(window_, SW_HIDE);
}

// Closing the About window shows this window again.
void Form2::showAbout() {
    if (about_ == nullptr || !about_->isOpen()) {
        about_ = std::make_unique<AboutWindow>(window_);
    }
    about_->show();
}

void Form2::press(Form2Control button) {
    SendMessageW(parts_->built.control(button), BM_CLICK, 0, 0);
}

// Both browse buttons open the same picker, which writes the chosen folder
// into the split target and the merge name alike.
void Form2::showPicker() {
    Parts& p = *parts_;
    if (picker_ == nullptr) {
        picker_ = std::make_unique<Form1>(window_, p.services->fileSystem(), p.services->drives(),
                                          p.services->messages(), *p.text2, *p.text4);
    }
    picker_->showModal();
    if (picker_->closedByUser()) {
        picker_.reset();
    }
}

}  // namespace tessark::win32
