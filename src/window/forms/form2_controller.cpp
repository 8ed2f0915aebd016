// SPDX-License-Identifier: MIT
#include "forms/form2_controller.h"

#include <utility>

#include "design/window_design.h"
#include "forms/merge_form.h"
#include "forms/merge_list.h"
#include "forms/split_form.h"
#include "forms/window_services.h"

namespace tessark {

using design::Form2Control;

namespace {

using Click = void (Form2Controller::*)();
using Key = void (Form2Controller::*)(int);

constexpr std::pair<Form2Control, Click> kClicks[] = {
    {Form2Control::Command1, &Form2Controller::Command1_Click},
    {Form2Control::Command2, &Form2Controller::Command2_Click},
    {Form2Control::Command3, &Form2Controller::Command3_Click},
    {Form2Control::Command4, &Form2Controller::Command4_Click},
    {Form2Control::Command5, &Form2Controller::Command5_Click},
    {Form2Control::Command6, &Form2Controller::Command6_Click},
    {Form2Control::Command7, &Form2Controller::Command7_Click},
    {Form2Control::Command8, &Form2Controller::Command8_Click},
    {Form2Control::Command9, &Form2Controller::Command9_Click},
    {Form2Control::Command10, &Form2Controller::Command10_Click},
    {Form2Control::Command12, &Form2Controller::Command12_Click},
    {Form2Control::Command13, &Form2Controller::Command13_Click},
    {Form2Control::Option1, &Form2Controller::Option1_Click},
    {Form2Control::Option2, &Form2Controller::Option2_Click},
    {Form2Control::List1, &Form2Controller::List1_Click},
};

// The controls with a key handler of their own; Enter on any other control
// is routed by its kind alone.
constexpr std::pair<Form2Control, Key> kKeys[] = {
    {Form2Control::Text1, &Form2Controller::Text1_KeyPress},
    {Form2Control::Text2, &Form2Controller::Text2_KeyPress},
    {Form2Control::Text3, &Form2Controller::Text3_KeyPress},
    {Form2Control::Text4, &Form2Controller::Text4_KeyPress},
    {Form2Control::Option1, &Form2Controller::Option1_KeyPress},
    {Form2Control::List1, &Form2Controller::List1_KeyPress},
};

}  // namespace

Form2Controller::Form2Controller(Form2Window& window, const ServicesInUse& services)
    : window_(window), w_(window.controls()), services_(services) {}

bool Form2Controller::click(Form2Control control) {
    for (const auto& [own, handler] : kClicks) {
        if (own == control) {
            (this->*handler)();
            return true;
        }
    }
    return false;
}

void Form2Controller::keyPress(Form2Control control, int keyAscii) {
    for (const auto& [own, handler] : kKeys) {
        if (own == control) {
            (this->*handler)(keyAscii);
            return;
        }
    }
    enter(control, keyAscii);
}

void Form2Controller::enter(Form2Control control, int keyAscii) {
    switch (form2KeyAction(control, keyAscii)) {
        case KeyAction::StartSplit:
            Command3_Click();
            break;
        case KeyAction::StartMerge:
            Command6_Click();
            break;
        case KeyAction::Press:
            window_.press(control);
            break;
        case KeyAction::PassOn:
            break;
    }
}

// The split side: the source browse, the folder picker, Start split and the
// block-size choice.

void Form2Controller::Command1_Click() {
    browseSource(w_, services_.fileSystem());
}

// Both browse buttons open the same picker, which writes the chosen folder
// into the split target and the merge name alike.
void Form2Controller::Command2_Click() {
    window_.showPicker();
}

void Form2Controller::Command3_Click() {
    runJob(&startSplit);
}

void Form2Controller::Option1_Click() {
    option1Click(window_);
}

void Form2Controller::Option2_Click() {
    option2Click(window_);
}

void Form2Controller::Option1_KeyPress(int keyAscii) {
    enter(Form2Control::Option1, keyAscii);
}

void Form2Controller::Text1_KeyPress(int keyAscii) {
    enter(Form2Control::Text1, keyAscii);
}

void Form2Controller::Text2_KeyPress(int keyAscii) {
    enter(Form2Control::Text2, keyAscii);
}

void Form2Controller::Text3_KeyPress(int keyAscii) {
    enter(Form2Control::Text3, keyAscii);
}

// The merge side: the list's five buttons, its click and Enter key, the
// output name's Enter key and Start merge.

void Form2Controller::Command4_Click() {
    addPieces(w_, services_.fileSystem());
}

void Form2Controller::Command5_Click() {
    removeSelected(w_);
}

void Form2Controller::Command6_Click() {
    runJob(&startMerge);
}

void Form2Controller::Command7_Click() {
    clearList(w_);
}

void Form2Controller::Command8_Click() {
    moveDown(w_);
}

void Form2Controller::Command9_Click() {
    moveUp(w_);
}

void Form2Controller::Command10_Click() {
    window_.showPicker();
}

void Form2Controller::List1_Click() {
    showPath(w_);
}

void Form2Controller::List1_KeyPress(int keyAscii) {
    enter(Form2Control::List1, keyAscii);
}

void Form2Controller::Text4_KeyPress(int keyAscii) {
    enter(Form2Control::Text4, keyAscii);
}

void Form2Controller::runJob(AfterJob (*job)(MainControls&, FileSystem&)) {
    jobRunning_ = true;
    const AfterJob after = afterJob(w_, job(w_, services_.fileSystem()));
    jobRunning_ = false;
    switch (after) {
        case AfterJob::Stay:
            return;
        case AfterJob::EndProgram:
            services_.endProgram();
            return;
    }
}

// The shell: About, Exit, the status bar and its clock.

void Form2Controller::Command12_Click() {
    aboutClick(window_);
}

void Form2Controller::Command13_Click() {
    services_.endProgram();
}

// Whichever panel was clicked, the clock's and the empty ones included: the
// About window in place of the main window, then the maker's web site.
void Form2Controller::StatusBar1_PanelClick(int /*panel*/) {
    aboutClick(window_);
    services_.openWebSite();
}

void Form2Controller::Timer1_Timer() {
    if (const auto time = window_.timeOfDay()) {
        w_.StatusBar1.setPanelText(design::kClockPanel, *time);
    }
}

bool Form2Controller::Form_QueryUnload() {
    if (jobRunning_) {
        w_.stop.ask(StopRequest::StopAndEnd);
        return false;
    }
    return true;
}

// Closing the main window ends the program.
void Form2Controller::Form_Unload() {
    services_.endProgram();
}

}  // namespace tessark
