// SPDX-License-Identifier: MIT
// The folder picker in Qt: a small modal window in which the user chooses a
// folder by drive and directory. Its behaviour lives in Form1Controller.
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "engine/core/text.h"
#include "forms/form1_controller.h"

class QLabel;
class QPushButton;

namespace tessark {

class DirectoryList;
class DriveList;
class DriveSource;
class FileSystem;
class MessageBox;
class TextBox;

class Form1 : public QDialog, private Form1Shell {
    Q_OBJECT

  public:
    // `text2` and `text4` are the main window's split target and merge name
    // boxes; drive errors are reported through `messages`.
    Form1(FileSystem& fs, DriveSource& drives, MessageBox& messages, TextBox& text2,
          TextBox& text4);
    ~Form1() override;

    // The user closed the window with its close box, so it is to be destroyed.
    bool closedByUser() const { return closedByUser_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Esc

  private:
    struct Label1Caption;

    void Form_Load();
    void hidePicker(bool accepted) override;

    bool closedByUser_ = false;
    DirectoryList* Dir1;
    QPushButton* Command2;
    std::unique_ptr<Label1Caption> label1_;
    std::unique_ptr<Form1Controller> controller_;
};

// What the main window's browse buttons do: create the picker if there is
// none, show it modally and return when it is hidden or closed. A picker
// closed with its close box is destroyed here, so the next opening starts
// afresh at the program's current folder.
void showFolderPicker(QPointer<Form1>& picker, FileSystem& fs, DriveSource& drives,
                      MessageBox& messages, TextBox& text2, TextBox& text4);

}  // namespace tessark
