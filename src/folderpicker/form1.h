// SPDX-License-Identifier: MIT
// The folder picker: a small modal window in which the user chooses a folder
// by drive and directory. OK writes the chosen folder and a separator into the
// main window's split target and merge name boxes; Cancel changes nothing.
#pragma once

#include <QDialog>
#include <QPointer>

#include "engine/core/text.h"

class QLabel;
class QPushButton;

namespace tessark {

class DirectoryList;
class DriveList;
class DriveSource;
class FileSystem;
class MessageBox;
class TextBox;

class Form1 : public QDialog {
    Q_OBJECT

  public:
    // `text2` and `text4` are the main window's split target and merge name
    // boxes; drive errors are reported through `messages`.
    Form1(FileSystem& fs, DriveSource& drives, MessageBox& messages, TextBox& text2,
          TextBox& text4);

    // The user closed the window with its close box, so it is to be destroyed.
    bool closedByUser() const { return closedByUser_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Esc

  private:
    void Form_Load();
    void Dir1_Change();
    void Dir1_OpenFailed(int number);
    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();

    FileSystem& fs_;
    MessageBox& messages_;
    TextBox& text2_;
    TextBox& text4_;
    bool closedByUser_ = false;

    QLabel* Label2;
    QLabel* Label1;
    DirectoryList* Dir1;
    DriveList* Drive1;
    QPushButton* Command1;
    QPushButton* Command2;
};

// What the main window's browse buttons do: create the picker if there is
// none, show it modally and return when it is hidden or closed. A picker
// closed with its close box is destroyed here, so the next opening starts
// afresh at the program's current folder.
void showFolderPicker(QPointer<Form1>& picker, FileSystem& fs, DriveSource& drives,
                      MessageBox& messages, TextBox& text2, TextBox& text4);

}  // namespace tessark
