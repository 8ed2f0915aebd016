// SPDX-License-Identifier: MIT
#include "win32/keys.h"

#include <memory>

#include "forms/form2_window.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

namespace {

constexpr UINT_PTR kKeyPressSubclass = 0x7E55;

LRESULT CALLBACK keyPressProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR data) {
    auto* handler = reinterpret_cast<std::function<void(int)>*>(data);
    switch (message) {
        case WM_GETDLGCODE:
            // Enter, typed into this control, is this control's.
            if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
                return DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTALLKEYS;
            }
            break;
        case WM_CHAR: {
            const int keyAscii = static_cast<int>(wParam);
            // The handler may destroy the window's controls (a modal box, the
            // program's end): keep it alive for the call.
            std::function<void(int)> call = *handler;
            call(keyAscii);
            if (keyAscii == kEnterKey) {
                return 0;  // no beep, no line break in a one-line edit
            }
            break;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, keyPressProc, kKeyPressSubclass);
            delete handler;
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void onKeyPress(HWND control, std::function<void(int keyAscii)> handler) {
    auto owned = std::make_unique<std::function<void(int)>>(std::move(handler));
    if (SetWindowSubclass(control, keyPressProc, kKeyPressSubclass,
                          reinterpret_cast<DWORD_PTR>(owned.get()))) {
        owned.release();
    }
}

bool dispatchOne(const MSG& message) {
    if (message.message == WM_QUIT) {
        return false;
    }
    HWND top = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    // Tab follows the window's described keyboard order, not the stacking
    // order of its controls (which says what lies over what).
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
        if (BuiltWindow* built = BuiltWindow::of(top)) {
            built->tabOrder().tab(GetKeyState(VK_SHIFT) < 0);
            return true;
        }
    }
    MSG copy = message;
    if (top != nullptr && IsDialogMessageW(top, &copy)) {
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

int runMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            return 1;
        }
        if (got == 0 || !dispatchOne(message)) {
            return static_cast<int>(message.wParam);
        }
    }
}

}  // namespace tessark::win32
