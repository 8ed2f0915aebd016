// SPDX-License-Identifier: MIT
// Form2's notifications turned into the controller's events, and what the
// controller asks of the window (Form2Window): its controls, showing, enabling
// and focusing them, pressing a button, the picker, the About window.
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

MainControls Form2::controls() {
    Parts& p = *parts_;
    return {*p.text1,
            *p.text2,
            *p.text3,
            *p.text4,
            *p.option1,
            *p.label2,
            *p.list1,
            *p.progressBar1,
            *p.statusBar1,
            p.pointer,
            p.services->messages(),
            p.services->dialog(),
            *p.stop};
}

bool Form2::checked(Form2Control option) const {
    return SendMessageW(parts_->built.control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form2::showControl(Form2Control control, bool visible) {
    ShowWindow(parts_->built.control(control), visible ? SW_SHOW : SW_HIDE);
}

void Form2::enableControl(Form2Control control, bool enabled) {
    EnableWindow(parts_->built.control(control), enabled ? TRUE : FALSE);
}

void Form2::focusControl(Form2Control control) {
    HWND shown = parts_->built.control(control);
    if (IsWindowVisible(shown)) {
        SetFocus(shown);
    }
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
