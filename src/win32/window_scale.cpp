// SPDX-License-Identifier: MIT
// A built window laid out at a scale: its outer size for the designed client
// area, the controls' places and what they size by their content, and the
// move to a screen of another scale.
#include "win32/window_builder.h"

#include <algorithm>

#include "win32/dpi.h"
#include "win32/win32_controls.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

using design::Kind;

RECT BuiltWindow::designedOuter() const {
    RECT outer{0, 0, pixels(design_->clientWidth), pixels(design_->clientHeight)};
    outerRect(outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
              static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi_);
    return outer;
}

void BuiltWindow::fitToDesign(const RECT* suggested) {
    const RECT outer = designedOuter();
    RECT now{};
    GetWindowRect(window_, &now);
    const RECT& at = suggested != nullptr ? *suggested : now;
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    SetWindowPos(window_, nullptr, at.left, at.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame is drawn at another scale than the one asked for (a
    // system that scales the caption with the system's DPI only), the client
    // area still gets its designed size.
    RECT client{};
    GetClientRect(window_, &client);
    width += pixels(design_->clientWidth) - client.right;
    height += pixels(design_->clientHeight) - client.bottom;
    if (client.right != pixels(design_->clientWidth) ||
        client.bottom != pixels(design_->clientHeight)) {
        SetWindowPos(window_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void BuiltWindow::allowDesignedSize(MINMAXINFO& limits) const {
    // The system keeps a window within the screen's size; a window of the
    // designed size on a small screen of a large scale is still whole, and
    // can be moved to show any part of it.
    const RECT outer = designedOuter();
    limits.ptMaxTrackSize.x = std::max<LONG>(limits.ptMaxTrackSize.x, outer.right - outer.left);
    limits.ptMaxTrackSize.y = std::max<LONG>(limits.ptMaxTrackSize.y, outer.bottom - outer.top);
}

void BuiltWindow::setDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0) {
        return;
    }
    dpi_ = dpi;
    // The fonts and pictures of the old scale go once nothing shows them.
    FontSet oldFonts;
    PictureSet oldPictures;
    oldFonts.swap(fonts_);
    oldPictures.swap(pictures_);

    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font(design_->font)), FALSE);
    pictures_.setIcon(window_, design_->icon, dpi_);
    // The window first: the status bar docks to its new bottom.
    fitToDesign(suggested);
    for (const design::Control& described : design_->controls) {
        if (HWND made = control(described.name)) {
            place(made, described);
            SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font(described.font)), TRUE);
            pictures_.setPicture(made, described, dpi_);
            fitContent(made, described);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void BuiltWindow::place(HWND made, const design::Control& described) const {
    int height = pixels(described.at.height);
    if (described.kind == Kind::Line) {
        height = 2;
    }
    if (described.kind == Kind::DriveList) {
        height *= 8;  // room for the list when it drops down
    }
    SetWindowPos(made, nullptr, pixels(described.at.left), pixels(described.at.top),
                 pixels(described.at.width), height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void BuiltWindow::fitContent(HWND made, const design::Control& described) const {
    if (described.kind == Kind::Label && described.autoSize) {
        Win32Label(made, true).setCaption(windowText(made));
    }
    if (described.kind == Kind::StatusBar) {
        // The panels side by side from the left, at their designed widths.
        std::vector<int> rightEdges;
        int edge = 0;
        for (const design::StatusPanel& panel : described.panels) {
            edge += pixels(panel.width);
            rightEdges.push_back(edge);
        }
        if (!rightEdges.empty()) {
            SendMessageW(made, SB_SETPARTS, rightEdges.size(),
                         reinterpret_cast<LPARAM>(rightEdges.data()));
        }
        // Its height is the bar's own; it docks at the bottom by itself.
        SendMessageW(made, WM_SIZE, 0, 0);
    }
}

}  // namespace tessark::win32
