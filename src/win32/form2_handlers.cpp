// SPDX-License-Identifier: MIT
// Form2's event handlers: the split side, the merge side and the notification
// table that leads each control's click to its handler.
#include "win32/win32_api.h"

#include <string_view>
#include <utility>

#include "forms/merge_form.h"
#include "forms/merge_list.h"
#include "forms/split_form.h"

#include "win32/form1.h"
#include "win32/form2.h"
#include "win32/form2_parts.h"
#include "win32/frm_about.h"
#include "win32/keys.h"

namespace tessark::win32 {

bool Form2::onCommand(int id, int code) {
    const std::string_view name = parts_->built.nameOf(id);
    if (name.empty()) {
        return false;
    }
    if (code == BN_CLICKED) {
        static constexpr std::pair<std::string_view, void (Form2::*)()> kClicks[] = {
            {"Command1", &Form2::Command1_Click},   {"Command2", &Form2::Command2_Click},
            {"Command3", &Form2::Command3_Click},   {"Command4", &Form2::Command4_Click},
            {"Command5", &Form2::Command5_Click},   {"Command6", &Form2::Command6_Click},
            {"Command7", &Form2::Command7_Click},   {"Command8", &Form2::Command8_Click},
            {"Command9", &Form2::Command9_Click},   {"Command10", &Form2::Command10_Click},
            {"Command12", &Form2::Command12_Click}, {"Command13", &Form2::Command13_Click},
            {"Option1", &Form2::Option1_Click},     {"Option2", &Form2::Option2_Click},
        };
        for (const auto& [control, handler] : kClicks) {
            if (control == name) {
                (this->*handler)();
                return true;
            }
        }
    }
    // A selection moved by the mouse or the keyboard is a click; selections
    // made by the program call the handler themselves.
    if (name == "List1" && code == LBN_SELCHANGE) {
        List1_Click();
        return true;
    }
    return false;
}

void Form2::Command1_Click() {
    MainControls window = parts_->controls();
    browseSource(window, *parts_->fileSystem);
}

void Form2::Command2_Click() {
    showPicker();
}

void Form2::runJob(AfterJob (*job)(MainControls&, FileSystem&)) {
    MainControls window = parts_->controls();
    jobRunning_ = true;
    AfterJob after = job(window, *parts_->fileSystem);
    jobRunning_ = false;
    if (parts_->repaint->takeStopRequest() == StopRequest::StopAndEnd) {
        after = AfterJob::EndProgram;
    }
    switch (after) {
        case AfterJob::Stay:
            break;
        case AfterJob::EndProgram:
            services_.endProgram();
            break;
    }
}

void Form2::Command3_Click() {
    runJob(&startSplit);
}

void Form2::Option1_Click() {
    design::option1Click(parts_->surface);
}

void Form2::Option2_Click() {
    design::option2Click(parts_->surface);
}

void Form2::Option1_KeyPress(int keyAscii) {
    keyPress("Option1", keyAscii);
}

void Form2::Text1_KeyPress(int keyAscii) {
    keyPress("Text1", keyAscii);
}

void Form2::Text2_KeyPress(int keyAscii) {
    keyPress("Text2", keyAscii);
}

void Form2::Text3_KeyPress(int keyAscii) {
    keyPress("Text3", keyAscii);
}

void Form2::Command4_Click() {
    MainControls window = parts_->controls();
    addPieces(window, *parts_->fileSystem);
}

void Form2::Command5_Click() {
    MainControls window = parts_->controls();
    removeSelected(window);
}

void Form2::Command6_Click() {
    runJob(&startMerge);
}

void Form2::Command7_Click() {
    MainControls window = parts_->controls();
    clearList(window);
}

void Form2::Command8_Click() {
    MainControls window = parts_->controls();
    moveDown(window);
}

void Form2::Command9_Click() {
    MainControls window = parts_->controls();
    moveUp(window);
}

void Form2::Command10_Click() {
    showPicker();
}

void Form2::List1_Click() {
    MainControls window = parts_->controls();
    showPath(window);
}

void Form2::List1_KeyPress(int keyAscii) {
    keyPress("List1", keyAscii);
}

void Form2::Text4_KeyPress(int keyAscii) {
    keyPress("Text4", keyAscii);
}

// Closing the About window shows this window again.
void Form2::showAbout() {
    if (about_ == nullptr || !about_->isOpen()) {
        about_ = std::make_unique<AboutWindow>(window_);
    }
    about_->show();
}

// Both browse buttons open the same picker, which writes the chosen folder
// into the split target and the merge name alike.
void Form2::showPicker() {
    Parts& p = *parts_;
    if (picker_ == nullptr) {
        picker_ = std::make_unique<Form1>(window_, *p.fileSystem, *p.drives, *p.messages, *p.text2,
                                          *p.text4);
    }
    picker_->showModal();
    if (picker_->closedByUser()) {
        picker_.reset();
    }
}

}  // namespace tessark::win32
