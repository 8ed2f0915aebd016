// SPDX-License-Identifier: MIT
#include "win32/file_drops.h"

#include <string>

#include "engine/platform/native_file_system.h"
#include "forms/controls.h"
#include "forms/desktop_files.h"
#include "win32/form2.h"
#include "win32/form2_parts.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

namespace {

// Whether `point` (in `window`'s client area) lies on `area`, a control
// somewhere inside it.
bool isOver(HWND window, HWND area, POINT point) {
    if (area == nullptr) {
        return false;
    }
    RECT place;
    if (!GetWindowRect(area, &place)) {
        return false;
    }
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    return PtInRect(&place, point) != FALSE;
}

}  // namespace

std::vector<Text> commandLineFiles(const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    if (arguments == nullptr) {
        return {};
    }
    std::vector<Text> files;
    for (int i = 1; i < count; ++i) {
        const Text typed = fromWide(arguments[i], wcslen(arguments[i]));
        if (!typed.empty()) {
            files.push_back(absoluteNativePath(typed));
        }
    }
    LocalFree(arguments);
    return files;
}

DroppedFiles takeDrop(HDROP drop) {
    DroppedFiles dropped;
    if (!DragQueryPoint(drop, &dropped.at)) {
        dropped.at = {-1, -1};  // dropped on the frame: on no area
    }
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // No limit on a name's length: the drop says how long each is.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        if (length == 0 || DragQueryFileW(drop, i, name.data(), length + 1) != length) {
            dropped.files.clear();  // a name that cannot be read: take none
            break;
        }
        dropped.files.push_back(fromWide(name.c_str(), length));
    }
    DragFinish(drop);
    return dropped;
}

void Form2::openFiles(const std::vector<Text>& paths) {
    tessark::openFiles(parts_->controller->controls(), parts_->services->fileSystem(), paths);
}

void Form2::dropFiles(HDROP drop) {
    const DroppedFiles dropped = takeDrop(drop);
    // While a box or the folder picker is up, the window is disabled and
    // waits for its answer.
    if (!IsWindowEnabled(window_) || dropped.files.empty()) {
        return;
    }
    MainControls& window = parts_->controller->controls();
    FileSystem& fs = parts_->services->fileSystem();
    if (isOver(window_, parts_->built.control(design::Form2Control::Frame4), dropped.at)) {
        dropSource(window, fs, dropped.files);
    } else if (isOver(window_, parts_->built.control(design::Form2Control::Frame1), dropped.at)) {
        dropPieces(window, fs, dropped.files);
    }
}

}  // namespace tessark::win32
