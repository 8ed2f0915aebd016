// SPDX-License-Identifier: MIT
#include "win32/window_builder.h"

#include <string>

#include "win32/dpi.h"
#include "win32/frame.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

namespace {

using design::Kind;

constexpr wchar_t kBuiltProperty[] = L"TessarkBuiltWindow";

struct ClassAndStyle {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle classOf(const design::Control& control) {
    const DWORD tab = control.tabIndex != design::kNoTab ? WS_TABSTOP : 0;
    switch (control.kind) {
        case Kind::Frame:
            return {frameClass(), WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
        case Kind::Label: {
            // A label with a tooltip or its own pointer must see the mouse.
            const bool mouse =
                !control.toolTip.empty() || control.pointer != design::Pointer::Default;
            return {WC_STATICW, static_cast<DWORD>(SS_LEFT | SS_NOPREFIX | (mouse ? SS_NOTIFY : 0)),
                    0};
        }
        case Kind::TextBox:
            return {WC_EDITW, ES_AUTOHSCROLL | ES_LEFT | tab, WS_EX_CLIENTEDGE};
        case Kind::Button:
            return {WC_BUTTONW,
                    static_cast<DWORD>(control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab,
                    0};
        case Kind::PictureButton:
            return {WC_BUTTONW, BS_PUSHBUTTON | BS_ICON | tab, 0};
        case Kind::CaptionButton:
            return {WC_BUTTONW, BS_PUSHBUTTON | BS_MULTILINE | tab, 0};
        case Kind::OptionButton:
            return {WC_BUTTONW, BS_AUTORADIOBUTTON | tab, 0};
        case Kind::ListBox:
        case Kind::DirectoryList:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab,
                    WS_EX_CLIENTEDGE};
        case Kind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
        case Kind::Line:
            return {WC_STATICW, SS_ETCHEDHORZ, 0};
        case Kind::StatusBar:
            return {STATUSCLASSNAMEW, CCS_BOTTOM, 0};
        case Kind::WebBrowser:
            return {WC_STATICW, SS_WHITERECT, 0};  // an empty panel: no browser here
        case Kind::PictureBox:
            return {WC_STATICW, SS_ICON | SS_REALSIZEIMAGE, 0};
        case Kind::DriveList:
            return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
        case Kind::Timer:
        case Kind::CommonDialog:
            break;
    }
    return {nullptr, 0, 0};
}

// Puts `child` in front of its siblings: later controls of the description
// lie over earlier ones.
void toFront(HWND child) {
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

BuiltWindow* BuiltWindow::of(HWND window) {
    return window != nullptr ? static_cast<BuiltWindow*>(GetPropW(window, kBuiltProperty))
                             : nullptr;
}

BuiltWindow::~BuiltWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        RemovePropW(window_, kBuiltProperty);
        // The handler may be gone already: the window ends without it.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

int BuiltWindow::pixels(int twips) const {
    return design::toPixels(twips, dpi_);
}

bool BuiltWindow::create(const design::WindowDesign& described, HWND owner,
                         WindowHandler& handler) {
    const wchar_t* windowClass = designedWindowClass();
    if (windowClass == nullptr) {
        return false;
    }
    design_ = &described;
    dpi_ = screenDpi();
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    if (described.border == design::Border::FixedDialog) {
        style |= WS_POPUP;
        exStyle |= WS_EX_DLGMODALFRAME;
    } else {
        style |= WS_OVERLAPPED;
        if (described.minButton) {
            style |= WS_MINIMIZEBOX;
        }
        if (described.maxButton) {
            style |= WS_MAXIMIZEBOX;
        }
    }
    RECT outer{0, 0, pixels(described.clientWidth), pixels(described.clientHeight)};
    if (!outerRect(outer, style, exStyle, dpi_)) {
        return false;
    }
    window_ = CreateWindowExW(exStyle, windowClass, wide(described.caption), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                              owner, nullptr, GetModuleHandleW(nullptr), &handler);
    if (window_ == nullptr) {
        return false;
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font(described.font)), FALSE);
    pictures_.setIcon(window_, described.icon, dpi_);
    tooltips_.create(window_);
    createControls();
    SetPropW(window_, kBuiltProperty, this);
    // Made on a screen of another scale than the system's: laid out for it.
    if (const int own = windowDpi(window_); own != dpi_) {
        setDpi(own, nullptr);
    } else {
        fitToDesign(nullptr);
    }
    centreOnScreen(window_);
    return true;
}

void BuiltWindow::createControls() {
    int id = kFirstControlId;
    for (const design::Control& described : design_->controls) {
        HWND parent = window_;
        if (!described.container.empty()) {
            parent = control(described.container);
            if (parent == nullptr) {
                continue;  // a container the description lacks: nothing to hold it
            }
        }
        HWND made = createControl(described, parent, id);
        if (made != nullptr) {
            controls_.emplace(std::string(described.name), made);
            names_.emplace(id, std::string(described.name));
        }
        ++id;
    }
    for (const design::Control* described : design_->tabOrder()) {
        if (HWND made = control(described->name)) {
            tabOrder_.add(made);
        }
    }
}

HWND BuiltWindow::createControl(const design::Control& described, HWND parent, int id) {
    const ClassAndStyle kind = classOf(described);
    if (kind.windowClass == nullptr) {
        return nullptr;
    }
    // Siblings clip each other, so a control drawn over another hides it.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style | (described.visible ? WS_VISIBLE : 0) |
                  (described.enabled ? 0 : WS_DISABLED);
    // Every control but the option buttons starts a group of its own, so the
    // arrows move only between the option buttons of one container.
    if (described.kind != Kind::OptionButton) {
        style |= WS_GROUP;
    }
    HWND made = CreateWindowExW(kind.exStyle, kind.windowClass, wide(described.caption), style, 0,
                                0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (made == nullptr) {
        return nullptr;
    }
    place(made, described);
    toFront(made);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font(described.font)), FALSE);
    if (described.kind == Kind::OptionButton) {
        // The option buttons of a container form one group; the arrows walk
        // it in front-to-back order, so the frontmost starts it.
        SetWindowLongPtrW(made, GWL_STYLE, GetWindowLongPtrW(made, GWL_STYLE) | WS_GROUP);
        for (HWND sibling = GetWindow(made, GW_HWNDNEXT); sibling != nullptr;
             sibling = GetWindow(sibling, GW_HWNDNEXT)) {
            if ((SendMessageW(sibling, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) {
                SetWindowLongPtrW(sibling, GWL_STYLE,
                                  GetWindowLongPtrW(sibling, GWL_STYLE) & ~WS_GROUP);
            }
        }
        if (described.checked) {
            SendMessageW(made, BM_SETCHECK, BST_CHECKED, 0);
        }
    }
    pictures_.setPicture(made, described, dpi_);
    fitContent(made, described);
    tooltips_.add(made, described);
    return made;
}

HWND BuiltWindow::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

std::string_view BuiltWindow::nameOf(int id) const {
    const auto found = names_.find(id);
    return found == names_.end() ? std::string_view() : std::string_view(found->second);
}

void centreOnScreen(HWND window) {
    RECT outer;
    if (!GetWindowRect(window, &outer)) {
        return;
    }
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(window, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tessark::win32
