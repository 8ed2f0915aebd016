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
#include "engine/core/file_system.h"
#include "folderpicker/directory_list.h"
#include "folderpicker/drive_list.h"
#include "forms/controls.h"
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

struct Form1::Label1Caption : Label {
    explicit Label1Caption(QLabel* label) : label_(label) {}
    void setCaption(const Text& caption) override { label_->setText(qs(caption)); }
    QLabel* label_;
};

Form1::Form1(FileSystem& fs, DriveSource& drives, MessageBox& messages, TextBox& text2,
             TextBox& text4)
    : QDialog(nullptr) {
    using design::Form1Control;
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
    Dir1 = built.get<DirectoryList>(Form1Control::Dir1);
    auto* Drive1 = built.get<DriveList>(Form1Control::Drive1);
    Command2 = built.get<QPushButton>(Form1Control::Command2);
    label1_ = std::make_unique<Label1Caption>(built.get<QLabel>(Form1Control::Label1));
    controller_ = std::make_unique<Form1Controller>(
        Form1Controls{*label1_, *Dir1, *Drive1, text2, text4, messages},
        static_cast<Form1Shell&>(*this), fs);
    controller_->Form_Initialize(currentFolder(fs.separator()));

    Form1Controller* c = controller_.get();
    connect(Dir1, &DirectoryList::changed, this, [c] { c->Dir1_Change(); });
    connect(Dir1, &DirectoryList::openFailed, this,
            [c](int number) { c->Dir1_OpenFailed(number); });
    connect(Drive1, &DriveList::changed, this, [c] { c->Drive1_Change(); });
    connect(built.get<QPushButton>(Form1Control::Command1), &QPushButton::clicked, this,
            [c] { c->Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [c] { c->Command2_Click(); });

    Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = frameGeometry().size();
    move(screen.x() + qRound((screen.width() - outer.width()) / 2.0),
         screen.y() + qRound((screen.height() - outer.height()) / 2.0));
    controller_->Form_Load();
}

void Form1::hidePicker(bool accepted) {
    done(accepted ? Accepted : Rejected);
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
