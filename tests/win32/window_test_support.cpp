// SPDX-License-Identifier: MIT
#include "window_test_support.h"

#include "win32/dpi.h"
#include "win32/keys.h"
#include "win32/win32_text.h"
#include "win32/window_builder.h"

namespace tessark::test {

void pumpMessages() {
    MSG message;
    // Bounded: a window that keeps posting to itself must not hang the test.
    for (int i = 0; i < 10000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        win32::dispatchOne(message);
    }
}

void pressKey(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    pumpMessages();
}

design::Rect pixelPlace(HWND control) {
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&area), 2);
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

design::Rect pixelsOf(const design::Rect& twips, int dpi) {
    if (dpi == 0) {
        dpi = win32::screenDpi();
    }
    return {design::toPixels(twips.left, dpi), design::toPixels(twips.top, dpi),
            design::toPixels(twips.width, dpi), design::toPixels(twips.height, dpi)};
}

std::string focusedName(HWND topLevel) {
    win32::BuiltWindow* built = win32::BuiltWindow::of(topLevel);
    HWND focus = GetFocus();
    if (built == nullptr || focus == nullptr) {
        return {};
    }
    return std::string(built->nameOf(GetDlgCtrlID(focus)));
}

}  // namespace tessark::test
