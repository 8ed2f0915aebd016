// SPDX-License-Identifier: MIT
// The folder picker on Windows: a modal window in which the user chooses a
// folder by drive and directory. OK writes the chosen folder and a separator
// into the main window's split target and merge name boxes; Cancel changes
// nothing.
#pragma once

#include "win32/win32_api.h"

#include <optional>
#include <vector>

#include "engine/core/text.h"
#include "win32/window_builder.h"

namespace tessark {

class DriveSource;
class FileSystem;
class MessageBox;
class TextBox;

namespace win32 {

class Form1 final : public WindowHandler {
  public:
    // `text2` and `text4` are the main window's split target and merge name
    // boxes; drive errors are reported through `messages`. `owner` is the
    // window kept from input while the picker is shown.
    Form1(HWND owner, FileSystem& fs, DriveSource& drives, MessageBox& messages, TextBox& text2,
          TextBox& text4);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the picker and returns when it is hidden or closed.
    void showModal();
    // The user closed the window with its close box, so it is to be destroyed.
    bool closedByUser() const { return closedByUser_; }

    HWND handle() const { return built_.window(); }
    HWND control(const char* name) const { return built_.control(name); }
    // The folder open in the directory list.
    const Text& path() const { return path_; }

    void Form_Load();
    void Dir1_Change();
    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();

  private:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Opens `folder` in the directory list; throws the listing's run-time
    // error and keeps the list as it was when it cannot be listed.
    void setPath(const Text& folder);
    void showFolders(const Text& folder, const std::vector<Text>& subfolders);
    void fillDrives();
    void hide();

    FileSystem& fs_;
    DriveSource& drives_;
    MessageBox& messages_;
    TextBox& text2_;
    TextBox& text4_;
    HWND owner_;
    BuiltWindow built_;
    Text path_;
    std::vector<Text> entries_;  // the directory list's folders, entry by entry
    std::vector<Text> driveList_;
    bool shown_ = false;
    bool closedByUser_ = false;
};

}  // namespace win32
}  // namespace tessark
