// SPDX-License-Identifier: MIT
#include "folderpicker/form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "forms/controls.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "forms/error_report.h"
#include "folderpicker/directory_list.h"
#include "folderpicker/drive_list.h"
#include "folderpicker/folder_paths.h"
#include "engine/platform/drives.h"
#include "qtshared/qt_text.h"

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
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      fs_(fs),
      messages_(messages),
      text2_(text2),
      text4_(text4) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("请选择一个目录"));
    setFixedSize(twips(5190), twips(3765));
    setFont(songFont(fontpx::Pt9));

    Label2 = new QLabel(QStringLiteral("指定文件夹："), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(twips(240), twips(240));
    Label2->adjustSize();  // the label sizes itself to its text

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipRect(240, 480, 4695, 195));
    Label1->setTextFormat(Qt::PlainText);  // a folder name is never markup

    Dir1 = new DirectoryList(fs, this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(twipRect(240, 720, 4695, 2400));

    Drive1 = new DriveList(drives, this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(twipRect(240, 3240, 1935, 300));

    Command1 = new QPushButton(QStringLiteral("确定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipRect(2520, 3240, 1095, 375));
    Command1->setDefault(true);

    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipRect(3840, 3240, 1095, 375));

    setTabOrder(Dir1, Drive1);
    setTabOrder(Drive1, Command1);
    setTabOrder(Command1, Command2);
    Dir1->setFocus();

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
