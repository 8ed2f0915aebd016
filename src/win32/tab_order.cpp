// SPDX-License-Identifier: MIT
#include "win32/tab_order.h"

#include <cstddef>

namespace tessark::win32 {

bool TabOrder::canFocus(HWND candidate) const {
    if (!IsWindowVisible(candidate) || !IsWindowEnabled(candidate)) {
        return false;
    }
    // The empty web panel is a static: nothing there to act on.
    const LRESULT code = SendMessageW(candidate, WM_GETDLGCODE, 0, 0);
    if ((code & DLGC_STATIC) != 0) {
        return false;
    }
    // An option group is one stop: its selected button, or its first when
    // none is selected.
    if ((code & DLGC_RADIOBUTTON) == 0 ||
        SendMessageW(candidate, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        return true;
    }
    for (HWND other : stops_) {
        if (other != candidate && GetParent(other) == GetParent(candidate) &&
            (SendMessageW(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0 &&
            SendMessageW(other, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return false;
        }
    }
    return true;
}

bool TabOrder::tab(bool backwards) {
    if (stops_.empty()) {
        return false;
    }
    const auto count = static_cast<std::ptrdiff_t>(stops_.size());
    HWND focus = GetFocus();
    std::ptrdiff_t at = -1;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        HWND stop = stops_[static_cast<std::size_t>(i)];
        if (focus != nullptr && (stop == focus || IsChild(stop, focus))) {
            at = i;
            break;
        }
    }
    if (at < 0) {
        at = backwards ? 0 : count - 1;
    }
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t next = ((at + (backwards ? -step : step)) % count + count) % count;
        HWND candidate = stops_[static_cast<std::size_t>(next)];
        if (canFocus(candidate)) {
            SetFocus(candidate);
            if ((SendMessageW(candidate, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
                SendMessageW(candidate, EM_SETSEL, 0, -1);
            }
            return true;
        }
    }
    return false;
}

void TabOrder::focusFirst() {
    for (HWND stop : stops_) {
        if (canFocus(stop)) {
            SetFocus(stop);
            return;
        }
    }
}

}  // namespace tessark::win32
