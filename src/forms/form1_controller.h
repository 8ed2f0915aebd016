// SPDX-License-Identifier: MIT
// Form1's behaviour, the folder picker's, written once for every toolkit: the
// lists start at the program's current drive and folder, a drive change opens
// the drive's top folder, OK writes the chosen folder into the main window's
// split target and merge name. Each toolkit keeps its own lists and turns
// their events into calls here.
#pragma once

#include <optional>
#include <vector>

#include "engine/core/text.h"

namespace tessark {

class FileSystem;
class Label;
class MessageBox;
class TextBox;

// The directory list as the picker uses it.
class FolderList {
  public:
    virtual ~FolderList() = default;
    // The open folder.
    virtual const Text& path() const = 0;
    // Opens `folder` and lists its subfolders, then tells Dir1_Change when the
    // open folder is another one. When the listing fails, its run-time error
    // is thrown and the list stays as it was.
    virtual void setPath(const Text& folder) = 0;
    // Opens `folder` without its subfolders, for one that cannot be listed.
    virtual void showUnlisted(const Text& folder) = 0;
};

// The drive list as the picker uses it.
class DriveChooser {
  public:
    virtual ~DriveChooser() = default;
    virtual std::vector<Text> drives() const = 0;
    // Shows the drive at `index` of drives() without a change notification.
    virtual void showDrive(std::size_t index) = 0;
    // The chosen drive's top folder; nothing when none is chosen. Throws a
    // run-time error for a drive that is no longer there.
    virtual std::optional<Text> chosenDrive() const = 0;
};

// What only the toolkit can do for the picker.
class Form1Shell {
  public:
    virtual ~Form1Shell() = default;
    // Hides the picker; `accepted` when OK closed it.
    virtual void hidePicker(bool accepted) = 0;
};

struct Form1Controls {
    Label& Label1;  // the open folder's path
    FolderList& Dir1;
    DriveChooser& Drive1;
    TextBox& text2;  // the main window's split target
    TextBox& text4;  // the main window's merge name
    MessageBox& messages;
};

class Form1Controller {
  public:
    Form1Controller(Form1Controls controls, Form1Shell& shell, FileSystem& fs);

    // On creation the lists show `folder`, the program's current folder, and
    // its drive.
    void Form_Initialize(const Text& folder);
    void Form_Load();
    void Dir1_Change();
    // Opening an entry of the directory list failed with run-time error `number`.
    void Dir1_OpenFailed(int number);
    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();

  private:
    Form1Controls c_;
    Form1Shell& shell_;
    FileSystem& fs_;
};

}  // namespace tessark
