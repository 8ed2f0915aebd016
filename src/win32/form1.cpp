// SPDX-License-Identifier: MIT
#include "win32/form1.h"

#include <stdexcept>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/drives.h"
#include "forms/controls.h"
#include "forms/folder_paths.h"
#include "win32/keys.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

using design::Form1Control;

namespace {

// The program's current folder. Read once, when the picker is made: nothing
// here changes it (the directory list never calls DlgDirList).
Text currentFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) {
        return {};
    }
    std::wstring folder(length, L'\0');
    const DWORD got = GetCurrentDirectoryW(length, folder.data());
    return got == 0 || got >= length ? Text() : fromWide(folder.data(), got);
}

}  // namespace

Form1::Form1(HWND owner, FileSystem& fs, DriveSource& drives, MessageBox& messages, TextBox& text2,
             TextBox& text4)
    : fs_(fs), drives_(drives), owner_(owner) {
    if (!built_.create(design::form1Design(), owner, *this)) {
        throw std::runtime_error("cannot create the folder picker");
    }
    ids_ = std::make_unique<ControlIds<Form1Control>>(built_);
    label1_ = std::make_unique<Win32Label>(built_.control(Form1Control::Label1), false);
    controller_ = std::make_unique<Form1Controller>(
        Form1Controls{*label1_, *this, *this, text2, text4, messages},
        static_cast<Form1Shell&>(*this), fs);
    fillDrives();
    controller_->Form_Initialize(currentFolder());
    Form_Load();
}

Form1::~Form1() = default;

void Form1::fillDrives() {
    HWND list = built_.control(Form1Control::Drive1);
    driveList_ = drives_.drives();
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const Text& drive : driveList_) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(drive)));
    }
}

void Form1::setPath(const Text& folder) {
    std::vector<Text> subfolders = fs_.listFolders(folder);
    const bool changed = folder != path_;
    showFolders(folder, subfolders);
    if (changed) {
        controller_->Dir1_Change();
    }
}

void Form1::showUnlisted(const Text& folder) {
    showFolders(folder, {});
}

// The open folder's ancestors from the root down, the open folder, then its
// subfolders, each indented one step deeper than its parent.
void Form1::showFolders(const Text& folder, const std::vector<Text>& subfolders) {
    const char16_t separator = fs_.separator();
    path_ = folder;
    entries_ = folderChain(folder, separator);
    const std::size_t depth = entries_.size();
    HWND list = built_.control(Form1Control::Dir1);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < depth; ++i) {
        const Text caption = Text(i * 2, u' ') + folderCaption(entries_[i], separator);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(caption)));
    }
    for (const Text& name : subfolders) {
        entries_.push_back(childFolder(folder, name, separator));
        const Text caption = Text(depth * 2, u' ') + name;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(caption)));
    }
    SendMessageW(list, LB_SETCURSEL, depth > 0 ? depth - 1 : 0, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void Form1::Form_Load() {
    centreOnScreen(handle());
    controller_->Form_Load();
}

void Form1::showDrive(std::size_t index) {
    SendMessageW(built_.control(Form1Control::Drive1), CB_SETCURSEL, index, 0);
}

std::optional<Text> Form1::chosenDrive() const {
    const LRESULT chosen = SendMessageW(built_.control(Form1Control::Drive1), CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR || static_cast<std::size_t>(chosen) >= driveList_.size()) {
        return std::nullopt;
    }
    const Text& drive = driveList_[static_cast<std::size_t>(chosen)];
    // A drive that is gone (a medium taken out since the list was made) is
    // unavailable, not an empty folder.
    if (GetDriveTypeW(wide(drive)) == DRIVE_NO_ROOT_DIR) {
        raise(err::DeviceUnavailable);
    }
    return drive;
}

void Form1::hidePicker(bool /*accepted*/) {
    hide();
}

void Form1::hide() {
    if (owner_ != nullptr) {
        EnableWindow(owner_, TRUE);
    }
    ShowWindow(handle(), SW_HIDE);
    shown_ = false;
}

void Form1::showModal() {
    // Folders made while the window was hidden show up when it opens again.
    try {
        setPath(path_);
    } catch (...) {
        // keeps the old listing
    }
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    shown_ = true;
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    built_.tabOrder().focusFirst();
    MSG message;
    while (shown_ && !closedByUser_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
            break;
        }
        if (got == -1) {
            break;
        }
        dispatchOne(message);
    }
    if (shown_) {
        hide();
    }
}

std::optional<LRESULT> Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            const auto control = ids_->of(id);
            HWND dir1 = built_.control(Form1Control::Dir1);
            if (id == IDOK || (control == Form1Control::Command1 && code == BN_CLICKED)) {
                // Enter opens a highlighted folder; on the open one it means OK.
                if (id == IDOK && GetFocus() == dir1) {
                    const LRESULT at = SendMessageW(dir1, LB_GETCURSEL, 0, 0);
                    if (at != LB_ERR && entries_.at(static_cast<std::size_t>(at)) != path_) {
                        SendMessageW(handle(), WM_COMMAND,
                                     MAKEWPARAM(GetDlgCtrlID(dir1), LBN_DBLCLK),
                                     reinterpret_cast<LPARAM>(dir1));
                        return 0;
                    }
                }
                controller_->Command1_Click();
                return 0;
            }
            if (id == IDCANCEL || (control == Form1Control::Command2 && code == BN_CLICKED)) {
                controller_->Command2_Click();
                return 0;
            }
            if (control == Form1Control::Drive1 && code == CBN_DROPDOWN) {
                // A medium mounted while the window was open shows up.
                HWND drive1 = built_.control(Form1Control::Drive1);
                const LRESULT at = SendMessageW(drive1, CB_GETCURSEL, 0, 0);
                const Text current = at >= 0 && static_cast<std::size_t>(at) < driveList_.size()
                                         ? driveList_[static_cast<std::size_t>(at)]
                                         : Text();
                fillDrives();
                for (std::size_t i = 0; i < driveList_.size(); ++i) {
                    if (driveList_[i] == current) {
                        SendMessageW(drive1, CB_SETCURSEL, i, 0);
                    }
                }
                return 0;
            }
            if (control == Form1Control::Drive1 && code == CBN_SELCHANGE) {
                controller_->Drive1_Change();
                return 0;
            }
            if (control == Form1Control::Dir1 && code == LBN_DBLCLK) {
                const LRESULT at = SendMessageW(dir1, LB_GETCURSEL, 0, 0);
                if (at == LB_ERR) {
                    return 0;
                }
                try {
                    setPath(entries_.at(static_cast<std::size_t>(at)));
                } catch (...) {
                    controller_->Dir1_OpenFailed(currentErrorNumber());
                }
                return 0;
            }
            break;
        }
        case WM_CLOSE:
            closedByUser_ = true;
            if (owner_ != nullptr) {
                EnableWindow(owner_, TRUE);
            }
            ShowWindow(handle(), SW_HIDE);
            return 0;
        default:
            break;
    }
    (void)lParam;
    return std::nullopt;
}

}  // namespace tessark::win32
