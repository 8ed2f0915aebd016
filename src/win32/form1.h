// SPDX-License-Identifier: MIT
// The folder picker on Windows: a modal window in which the user chooses a
// folder by drive and directory, over real Win32 lists. Its behaviour lives
// in Form1Controller.
#pragma once

#include "win32/win32_api.h"

#include <optional>
#include <vector>

#include <memory>

#include "engine/core/text.h"
#include "forms/form1_controller.h"
#include "win32/win32_controls.h"
#include "win32/window_builder.h"

namespace tessark {

class DriveSource;
class FileSystem;
class MessageBox;
class TextBox;

namespace win32 {

class Form1 final : public WindowHandler,
                    private FolderList,
                    private DriveChooser,
                    private Form1Shell {
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
    const Text& path() const override { return path_; }
    // The window's handlers.
    Form1Controller& controller() { return *controller_; }

  private:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Form_Load();
    // FolderList
    void setPath(const Text& folder) override;
    void showUnlisted(const Text& folder) override;
    // DriveChooser
    std::vector<Text> drives() const override { return driveList_; }
    void showDrive(std::size_t index) override;
    std::optional<Text> chosenDrive() const override;
    // Form1Shell
    void hidePicker(bool accepted) override;

    void showFolders(const Text& folder, const std::vector<Text>& subfolders);
    void fillDrives();
    void hide();

    FileSystem& fs_;
    DriveSource& drives_;
    HWND owner_;
    BuiltWindow built_;
    std::unique_ptr<ControlIds<design::Form1Control>> ids_;
    std::unique_ptr<Win32Label> label1_;
    std::unique_ptr<Form1Controller> controller_;
    Text path_;
    std::vector<Text> entries_;  // the directory list's folders, entry by entry
    std::vector<Text> driveList_;
    bool shown_ = false;
    bool closedByUser_ = false;
};

}  // namespace win32
}  // namespace tessark
