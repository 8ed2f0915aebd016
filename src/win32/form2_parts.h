// SPDX-License-Identifier: MIT
// What Form2 holds besides its window: the built controls, the engine's
// adapters over them and the services it was given or made for itself.
#pragma once

#include <memory>

#include "engine/core/controls.h"
#include "engine/core/file_system.h"
#include "engine/platform/drives.h"
#include "win32/form2.h"
#include "win32/win32_controls.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

struct Form2::Parts {
    BuiltWindow built;
    std::unique_ptr<Win32TextBox> text1, text2, text3, text4;
    std::unique_ptr<Win32OptionButton> option1;
    std::unique_ptr<Win32Label> label2;
    std::unique_ptr<Win32ListBox> list1;
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
