// SPDX-License-Identifier: MIT
#include "win32/window_class.h"

#include "win32/window_builder.h"

namespace tessark::win32 {

namespace {

LRESULT CALLBACK designedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    // A move to a screen of another scale lays the window out again; its
    // handler then hears of it for what only it knows.
    BuiltWindow* built = BuiltWindow::of(window);
    if (message == WM_DPICHANGED && built != nullptr) {
        built->setDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    }
    if (message == WM_GETMINMAXINFO && built != nullptr) {
        built->allowDesignedSize(*reinterpret_cast<MINMAXINFO*>(lParam));
    }
    auto* handler = reinterpret_cast<WindowHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (handler != nullptr && message != WM_NCCREATE) {
        if (const std::optional<LRESULT> result = handler->handle(message, wParam, lParam)) {
            return *result;
        }
    }
    if (message == WM_DPICHANGED || message == WM_GETMINMAXINFO) {
        return 0;  // the system's own answer would resize the window again
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

const wchar_t* designedWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof(form);
        form.lpfnWndProc = &designedWindowProc;
        form.hInstance = GetModuleHandleW(nullptr);
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        form.lpszClassName = L"TessarkWindow";
        return RegisterClassExW(&form) != 0;
    }();
    return registered ? L"TessarkWindow" : nullptr;
}

}  // namespace tessark::win32
