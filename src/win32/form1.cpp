// SPDX-License-Identifier: MIT
#include "win32/form1.h"

#include <stdexcept>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/drives.h"
#include "folderpicker/folder_paths.h"
#include "forms/controls.h"
#include "forms/disk_error_report.h"
#include "forms/error_report.h"
#include "win32/keys.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

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
    : fs_(fs), drives_(drives), messages_(messages), text2_(text2), text4_(text4), owner_(owner) {
    if (!built_.create(design::form1Design(), owner, *this)) {
        throw std::runtime_error("cannot create the folder picker");
    }
    fillDrives();
    // On creation the lists show the program's current drive and folder.
    const Text folder = currentFolder();
    if (const auto drive = driveHolding(folder, driveList_, fs_.separator())) {
        SendMessageW(control("Drive1"), CB_SETCURSEL, *drive, 0);
    }
    try {
        setPath(folder);
    } catch (...) {
        showFolders(folder, {});
    }
    Form_Load();
}

Form1::~Form1() = default;

void Form1::fillDrives() {
    HWND list = control("Drive1");
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
        Dir1_Change();
    }
}

// The open folder's ancestors from the root down, the open folder, then its
// subfolders, each indented one step deeper than its parent.
void Form1::showFolders(const Text& folder, const std::vector<Text>& subfolders) {
    const char16_t separator = fs_.separator();
    path_ = folder;
    entries_ = folderChain(folder, separator);
    const std::size_t depth = entries_.size();
    HWND list = control("Dir1");
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
    SetWindowTextW(control("Label1"), wide(path_));
}

void Form1::Dir1_Change() {
    SetWindowTextW(control("Label1"), wide(path_));
}

// Nothing is reset after a failure: the drive list keeps the drive that
// failed while the directory list and Label1 keep the folder from before.
void Form1::Drive1_Change() {
    const LRESULT chosen = SendMessageW(control("Drive1"), CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR || static_cast<std::size_t>(chosen) >= driveList_.size()) {
        return;
    }
    try {
        const Text& drive = driveList_[static_cast<std::size_t>(chosen)];
        // A drive that is gone (a medium taken out since the list was made)
        // is unavailable, not an empty folder.
        if (GetDriveTypeW(wide(drive)) == DRIVE_NO_ROOT_DIR) {
            raise(err::DeviceUnavailable);
        }
        setPath(drive);
        SetWindowTextW(control("Label1"), wide(path_));
    } catch (...) {
        DiskErrorReport(currentErrorNumber(), ErrorTable::WithoutNotFound, messages_);
    }
}

// The separator is appended as it is, even to a root that already ends in one:
// the user types a file name after it.
void Form1::Command1_Click() {
    const Text folderText = path_ + fs_.separator();
    text4_.setText(folderText);
    text2_.setText(folderText);
    hide();
}

void Form1::Command2_Click() {
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
    built_.focusFirst();
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
            const std::string_view name = built_.nameOf(id);
            if (id == IDOK || (name == "Command1" && code == BN_CLICKED)) {
                // Enter opens a highlighted folder; on the open one it means OK.
                if (id == IDOK && GetFocus() == control("Dir1")) {
                    const LRESULT at = SendMessageW(control("Dir1"), LB_GETCURSEL, 0, 0);
                    if (at != LB_ERR && entries_.at(static_cast<std::size_t>(at)) != path_) {
                        SendMessageW(handle(), WM_COMMAND,
                                     MAKEWPARAM(GetDlgCtrlID(control("Dir1")), LBN_DBLCLK),
                                     reinterpret_cast<LPARAM>(control("Dir1")));
                        return 0;
                    }
                }
                Command1_Click();
                return 0;
            }
            if (id == IDCANCEL || (name == "Command2" && code == BN_CLICKED)) {
                Command2_Click();
                return 0;
            }
            if (name == "Drive1" && code == CBN_DROPDOWN) {
                // A medium mounted while the window was open shows up.
                const LRESULT at = SendMessageW(control("Drive1"), CB_GETCURSEL, 0, 0);
                const Text current = at >= 0 && static_cast<std::size_t>(at) < driveList_.size()
                                         ? driveList_[static_cast<std::size_t>(at)]
                                         : Text();
                fillDrives();
                for (std::size_t i = 0; i < driveList_.size(); ++i) {
                    if (driveList_[i] == current) {
                        SendMessageW(control("Drive1"), CB_SETCURSEL, i, 0);
                    }
                }
                return 0;
            }
            if (name == "Drive1" && code == CBN_SELCHANGE) {
                Drive1_Change();
                return 0;
            }
            if (name == "Dir1" && code == LBN_DBLCLK) {
                const LRESULT at = SendMessageW(control("Dir1"), LB_GETCURSEL, 0, 0);
                if (at == LB_ERR) {
                    return 0;
                }
                try {
                    setPath(entries_.at(static_cast<std::size_t>(at)));
                } catch (...) {
                    // A folder that cannot be read is reported like a drive.
                    DiskErrorReport(currentErrorNumber(), ErrorTable::WithoutNotFound, messages_);
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
