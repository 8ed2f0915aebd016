// SPDX-License-Identifier: MIT
// The engine's view of Form2: adapters over its widgets and the services it
// was given or made for itself.
#pragma once

#include <memory>

#include "engine/core/file_system.h"
#include "gui/form2.h"
#include "engine/platform/drives.h"
#include "gui/qt_common_dialog.h"
#include "gui/qt_controls.h"
#include "gui/qt_message_box.h"
#include "gui/qt_repaint_hook.h"

namespace tessark {

struct Form2::Bridge {
    QtTextBox text1, text2, text3, text4;
    QtOptionButton option1;
    QtLabel label2;
    QtListBox list1;
    QtProgressBar progressBar1;
    QtMousePointer pointer;
    QtRepaintHook repaint;

    std::unique_ptr<FileSystem> ownFileSystem;
    std::unique_ptr<MessageBox> ownMessages;
    std::unique_ptr<CommonDialog> ownDialog;
    std::unique_ptr<DriveSource> ownDrives;
    FileSystem* fileSystem;
    MessageBox* messages;
    CommonDialog* dialog;
    DriveSource* drives;
};

}  // namespace tessark
