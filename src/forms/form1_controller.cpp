// SPDX-License-Identifier: MIT
#include "forms/form1_controller.h"

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/drives.h"
#include "forms/controls.h"
#include "forms/error_report.h"

namespace tessark {

Form1Controller::Form1Controller(Form1Controls controls, Form1Shell& shell, FileSystem& fs)
    : c_(controls), shell_(shell), fs_(fs) {}

void Form1Controller::Form_Initialize(const Text& folder) {
    if (const auto drive = driveHolding(folder, c_.Drive1.drives(), fs_.separator())) {
        c_.Drive1.showDrive(*drive);
    }
    try {
        c_.Dir1.setPath(folder);
    } catch (...) {
        c_.Dir1.showUnlisted(folder);
    }
}

void Form1Controller::Form_Load() {
    c_.Label1.setCaption(c_.Dir1.path());
}

void Form1Controller::Dir1_Change() {
    c_.Label1.setCaption(c_.Dir1.path());
}

// Opening a folder in the list that cannot be read is reported like a drive
// that cannot be read; the list stays at the open folder.
void Form1Controller::Dir1_OpenFailed(int number) {
    DiskErrorReport(number, ErrorTable::WithoutNotFound, c_.messages);
}

// Nothing is reset after a failure: the drive list keeps the drive that
// failed while the directory list and Label1 keep the folder from before.
void Form1Controller::Drive1_Change() {
    try {
        const auto drive = c_.Drive1.chosenDrive();
        if (!drive) {
            return;
        }
        c_.Dir1.setPath(*drive);
        c_.Label1.setCaption(c_.Dir1.path());
    } catch (...) {
        DiskErrorReport(currentErrorNumber(), ErrorTable::WithoutNotFound, c_.messages);
    }
}

// The separator is appended as it is, even to a root that already ends in one:
// the user types a file name after it.
void Form1Controller::Command1_Click() {
    const Text folderText = c_.Dir1.path() + fs_.separator();
    c_.text4.setText(folderText);
    c_.text2.setText(folderText);
    shell_.hidePicker(true);
}

void Form1Controller::Command2_Click() {
    shell_.hidePicker(false);
}

}  // namespace tessark
