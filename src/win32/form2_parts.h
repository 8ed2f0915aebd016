// SPDX-License-Identifier: MIT
// What Form2 holds besides its window: the built controls, the engine's
// adapters over them and the services it was given or made for itself.
#pragma once

#include <memory>

#include "design/window_behaviour.h"
#include "engine/core/file_system.h"
#include "engine/platform/drives.h"
#include "forms/controls.h"
#include "win32/form2.h"
#include "win32/taskbar.h"
#include "win32/win32_controls.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

// Form2's controls by name, for the behaviour the front ends share.
class Win32ControlSurface final : public design::ControlSurface {
  public:
    explicit Win32ControlSurface(const BuiltWindow& built) : built_(built) {}
    bool checked(std::string_view name) const override {
        return SendMessageW(built_.control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setVisible(std::string_view name, bool visible) override {
        ShowWindow(built_.control(name), visible ? SW_SHOW : SW_HIDE);
    }
    void setEnabled(std::string_view name, bool enabled) override {
        EnableWindow(built_.control(name), enabled ? TRUE : FALSE);
    }
    void setFocus(std::string_view name) override {
        HWND control = built_.control(name);
        if (IsWindowVisible(control)) {
            SetFocus(control);
        }
    }

  private:
    const BuiltWindow& built_;
};

struct Form2::Parts {
    BuiltWindow built;
    Win32ControlSurface surface{built};
    std::unique_ptr<Win32TextBox> text1, text2, text3, text4;
    std::unique_ptr<Win32OptionButton> option1;
    std::unique_ptr<Win32Label> label2;
    std::unique_ptr<Win32ListBox> list1;
    std::unique_ptr<TaskbarProgress> taskbar;
    std::unique_ptr<Win32ProgressBar> progressBar1;
    std::unique_ptr<Win32StatusBar> statusBar1;
    Win32MousePointer pointer;
    std::unique_ptr<Win32RepaintHook> repaint;

    std::unique_ptr<FileSystem> ownFileSystem;
    std::unique_ptr<MessageBox> ownMessages;
    std::unique_ptr<CommonDialog> ownDialog;
    std::unique_ptr<DriveSource> ownDrives;
    FileSystem* fileSystem = nullptr;
    MessageBox* messages = nullptr;
    CommonDialog* dialog = nullptr;
    DriveSource* drives = nullptr;

    MainControls controls() {
        return {*text1,        *text2,      *text3,  *text4,    *option1, *label2, *list1,
                *progressBar1, *statusBar1, pointer, *messages, *dialog,  *repaint};
    }
};

}  // namespace tessark::win32
