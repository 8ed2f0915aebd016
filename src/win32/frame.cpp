// SPDX-License-Identifier: MIT
#include "win32/frame.h"

#include <string>

namespace tessark::win32 {

namespace {

constexpr wchar_t kFrameClass[] = L"TessarkFrame";

void paintFrame(HWND frame) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT area;
    GetClientRect(frame, &area);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // The border runs through the middle of the caption's line.
    RECT border = area;
    border.top += metrics.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    const int length = GetWindowTextLengthW(frame);
    if (length > 0) {
        std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(frame, caption.data(), length + 1);
        caption.resize(static_cast<std::size_t>(length));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkMode(dc, OPAQUE);
        TextOutW(dc, metrics.tmAveCharWidth, 0, caption.c_str(), length);
    }
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    EndPaint(frame, &paint);
}

LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintFrame(frame);
            return 0;
        case WM_SETFONT:
            SetPropW(frame, L"TessarkFont", reinterpret_cast<HANDLE>(wParam));
            if (LOWORD(lParam) != 0) {
                InvalidateRect(frame, nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(GetPropW(frame, L"TessarkFont"));
        case WM_SETTEXT: {
            const LRESULT done = DefWindowProcW(frame, message, wParam, lParam);
            InvalidateRect(frame, nullptr, TRUE);
            return done;
        }
        case WM_NCDESTROY:
            RemovePropW(frame, L"TessarkFont");
            break;
        // What the controls inside report belongs to the window.
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_DRAWITEM:
            return SendMessageW(GetParent(frame), message, wParam, lParam);
        default:
            break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

}  // namespace

const wchar_t* frameClass() {
    static const bool registered = [] {
        WNDCLASSEXW frame{};
        frame.cbSize = sizeof(frame);
        frame.lpfnWndProc = frameProc;
        frame.hInstance = GetModuleHandleW(nullptr);
        frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        frame.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        frame.lpszClassName = kFrameClass;
        return RegisterClassExW(&frame) != 0;
    }();
    return registered ? kFrameClass : nullptr;
}

}  // namespace tessark::win32
