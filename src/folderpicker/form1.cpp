// SPDX-License-Identifier: MIT
#include "folderpicker/form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "design/window_design.h"
#include "engine/core/controls.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/errors/disk_error_report.h"
#include "engine/platform/drives.h"
#include "folderpicker/directory_list.h"
#include "folderpicker/drive_list.h"
#include "folderpicker/folder_paths.h"
#include "qtshared/qt_text.h"
#include "qtshared/qt_window_builder.h"

namespace tessark {

namespace {

// The program's current folder, written with the file system's separator.
Text currentFolder(char16_t separator) {
    Text folder = tx(QDir::currentPath());
    if (separator != u'/') {
        std::replace(folder.begin(), folder.end(), u'/', separator);
    }
    return folder;
}

}  // namespace

Form1::Form1(FileSystem& fs, DriveSource& drives, MessageBox& messages, TextBox& text2,
             TextBox& text4)
    : QDialog(nullptr), fs_(fs), messages_(messages), text2_(text2), text4_(text4) {
    QtWidgetMakers makers;
    makers.special = [&](const design::Control& control, QWidget* in) -> QWidget* {
        if (control.kind == design::Kind::DirectoryList) {
            return new DirectoryList(fs, in);
        }
        if (control.kind == design::Kind::DriveList) {
            return new DriveList(drives, in);
        }
        return nullptr;
    };
    const QtBuiltControls built = buildWindow(this, design::form1Design(), makers);
    Label2 = built.get<QLabel>("Label2");
    Label1 = built.get<QLabel>("Label1");
    Dir1 = built.get<DirectoryList>("Dir1");
    Drive1 = built.get<DriveList>("Drive1");
    Command1 = built.get<QPushButton>("Command1");
    Command2 = built.get<QPushButton>("Command2");

    // On creation the lists show the program's current drive and folder.
    const char16_t separator = fs.separator();
    const Text folder = currentFolder(separator);
    if (const auto drive = driveHolding(folder, Drive1->drives(), separator)) {
        Drive1->showDrive(Drive1->drives()[*drive]);
    }
    try {
        Dir1->setPath(folder);
    } catch (...) {
        Dir1->showUnlisted(folder);
    }

    connect(Dir1, &DirectoryList::changed, this, &Form1::Dir1_Change);
    connect(Dir1, &DirectoryList::openFailed, this, &Form1::Dir1_OpenFailed);
    connect(Drive1, &DriveList::changed, this, &Form1::Drive1_Change);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);

    Form_Load();
}

void Form1::Form_Load() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = frameGeometry().size();
    move(screen.x() + qRound((screen.width() - outer.width()) / 2.0),
         screen.y() + qRound((screen.height() - outer.height()) / 2.0));
    Label1->setText(qs(Dir1->path()));
}

void Form1::Dir1_Change() {
    Label1->setText(qs(Dir1->path()));
}

// Opening a folder in the list that cannot be read is reported like a drive
// that cannot be read; the list stays at the open folder.
void Form1::Dir1_OpenFailed(int number) {
    DiskErrorReport(number, ErrorTable::WithoutNotFound, messages_);
}

// Nothing is reset after a failure: the drive list keeps the drive that
// failed while the directory list and Label1 keep the folder from before.
void Form1::Drive1_Change() {
    try {
        Dir1->setPath(Drive1->currentDrive());
        Label1->setText(qs(Dir1->path()));
    } catch (...) {
        DiskErrorReport(currentErrorNumber(), ErrorTable::WithoutNotFound, messages_);
    }
}

// The separator is appended as it is, even to a root that already ends in one:
// the user types a file name after it.
void Form1::Command1_Click() {
    const Text folderText = tx(Label1->text()) + fs_.separator();
    text4_.setText(folderText);
    text2_.setText(folderText);
    done(Accepted);
}

void Form1::Command2_Click() {
    done(Rejected);
}

void Form1::reject() {
    Command2->click();
}

void Form1::showEvent(QShowEvent* event) {
    // Folders made while the window was hidden show up when it opens again.
    Dir1->refresh();
    QDialog::showEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
    closedByUser_ = true;
    setResult(Rejected);
    event->accept();
}

void showFolderPicker(QPointer<Form1>& picker, FileSystem& fs, DriveSource& drives,
                      MessageBox& messages, TextBox& text2, TextBox& text4) {
    if (!picker) {
        picker = new Form1(fs, drives, messages, text2, text4);
    }
    picker->exec();
    if (picker && picker->closedByUser()) {
        delete picker.data();
    }
}

}  // namespace tessark
