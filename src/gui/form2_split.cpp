// SPDX-License-Identifier: MIT
// The split side of Form2: the source browse, the block-size choice, the Enter
// keys of the split inputs and Start split.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "engine/split/split_settings.h"
#include "folderpicker/form1.h"
#include "forms/controls.h"
#include "forms/split_form.h"
#include "gui/form2.h"
#include "gui/form2_bridge.h"
#include "gui/key_hooks.h"

namespace tessark {

void Form2::Command1_Click() {
    MainControls window = controls();
    browseSource(window, *bridge_->fileSystem);
}

void Form2::Command2_Click() {
    showPicker();
}

// Both browse buttons open the same picker, which writes the chosen folder
// into the split target and the merge name alike.
void Form2::showPicker() {
    showFolderPicker(picker_, *bridge_->fileSystem, *bridge_->drives, *bridge_->messages,
                     bridge_->text2, bridge_->text4);
}

void Form2::Command3_Click() {
    MainControls window = controls();
    if (startSplit(window, *bridge_->fileSystem) == AfterJob::EndProgram) {
        services_.endProgram();
    }
}

void Form2::Option1_Click() {
    design::option1Click(surface_);
}

void Form2::Option2_Click() {
    design::option2Click(surface_);
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

}  // namespace tessark
