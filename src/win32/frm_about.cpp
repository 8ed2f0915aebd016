// SPDX-License-Identifier: MIT
#include "win32/frm_about.h"

#include <stdexcept>

namespace tessark::win32 {

using design::AboutControl;

namespace {

COLORREF colour(const design::Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

AboutWindow::AboutWindow(HWND mainWindow) : mainWindow_(mainWindow) {
    // No owner: the window stands alone while the main window is hidden.
    if (!built_.create(design::aboutDesign(), nullptr, *this)) {
        throw std::runtime_error("cannot create the About window");
    }
}

void AboutWindow::show() {
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    built_.tabOrder().focusFirst();
}

void AboutWindow::showMain() {
    if (mainWindow_ != nullptr) {
        ShowWindow(mainWindow_, SW_SHOW);
        SetForegroundWindow(mainWindow_);
    }
}

// The window is hidden, not destroyed: its owner makes a new one next time.
void AboutWindow::closeAbout() {
    if (!open_) {
        return;
    }
    open_ = false;
    ShowWindow(handle(), SW_HIDE);
    controller_.Form_Unload();
}

std::optional<LRESULT> AboutWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const design::WindowDesign& described = *built_.description();
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            // Enter and Esc both press OK, the default and the cancel button.
            const bool okClicked =
                GetDlgItem(handle(), id) == built_.control(AboutControl::cmdOK) &&
                HIWORD(wParam) == BN_CLICKED;
            if (id == IDOK || id == IDCANCEL || okClicked) {
                controller_.cmdOK_Click();
                return 0;
            }
            break;
        }
        case WM_CTLCOLORSTATIC: {
            auto* dc = reinterpret_cast<HDC>(wParam);
            const design::Control* label =
                described.find(built_.nameOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
            std::optional<design::Rgb> fore = described.foreColor;
            if (label != nullptr && label->foreColor) {
                fore = label->foreColor;
            }
            if (fore) {
                SetTextColor(dc, colour(*fore));
            }
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(background_);
        }
        case WM_SETCURSOR: {
            const design::Control* under =
                described.find(built_.nameOf(GetDlgCtrlID(reinterpret_cast<HWND>(wParam))));
            if (under != nullptr && under->pointer == design::Pointer::Hand) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            closeAbout();
            return 0;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace tessark::win32
