// SPDX-License-Identifier: MIT
#include "win32/dpi.h"

namespace tessark::win32 {

namespace {

// A function of user32 that older systems lack, or null there.
template <typename Function>
Function user32(const char* name) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name)))
               : nullptr;
}

}  // namespace

int screenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return USER_DEFAULT_SCREEN_DPI;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int windowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = user32<DpiForWindow>("GetDpiForWindow");
    const UINT dpi = dpiForWindow != nullptr ? dpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

bool outerRect(RECT& client, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr) {
        return adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi)) != FALSE;
    }
    return AdjustWindowRectEx(&client, style, FALSE, exStyle) != FALSE;
}

}  // namespace tessark::win32
