// SPDX-License-Identifier: MIT
// The merge side of Form2: the list's five buttons, its click and Enter key,
// the Enter key of the output name and Start merge.
#include "forms/controls.h"
#include "forms/merge_form.h"
#include "forms/merge_list.h"
#include "gui/form2.h"
#include "gui/form2_bridge.h"
#include "gui/key_hooks.h"

namespace tessark {

void Form2::Command4_Click() {
    MainControls window = controls();
    addPieces(window, *bridge_->fileSystem);
}

void Form2::Command5_Click() {
    MainControls window = controls();
    removeSelected(window);
}

void Form2::Command6_Click() {
    MainControls window = controls();
    if (startMerge(window, *bridge_->fileSystem) == AfterJob::EndProgram) {
        services_.endProgram();
    }
}

void Form2::Command7_Click() {
    MainControls window = controls();
    clearList(window);
}

void Form2::Command8_Click() {
    MainControls window = controls();
    moveDown(window);
}

void Form2::Command9_Click() {
    MainControls window = controls();
    moveUp(window);
}

void Form2::Command10_Click() {
    showPicker();
}

void Form2::List1_Click() {
    MainControls window = controls();
    showPath(window);
}

void Form2::List1_KeyPress(int keyAscii) {
    keyPress("List1", keyAscii);
}

void Form2::Text4_KeyPress(int keyAscii) {
    keyPress("Text4", keyAscii);
}

}  // namespace tessark
