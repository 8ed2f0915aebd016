// SPDX-License-Identifier: MIT
#include "win32/window_builder.h"

#include <algorithm>
#include <cmath>

#include "win32/dpi.h"
#include "win32/frame.h"
#include "win32/pictures.h"
#include "win32/win32_controls.h"
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
    if (tooltips_ != nullptr && IsWindow(tooltips_)) {
        DestroyWindow(tooltips_);
    }
    for (HANDLE image : images_) {
        DestroyIcon(static_cast<HICON>(image));
    }
    for (HIMAGELIST list : imageLists_) {
        ImageList_Destroy(list);
    }
    for (auto& entry : fonts_) {
        DeleteObject(entry.second);
    }
}

int BuiltWindow::pixels(int twips) const {
    return design::toPixels(twips, dpi_);
}

HFONT BuiltWindow::font(const design::Font& wanted) {
    for (auto& [described, made] : fonts_) {
        if (described == wanted) {
            return made;
        }
    }
    // A font's size is a height in twips too; negative: the characters' height.
    const int height = -design::toPixels(wanted.size, dpi_);
    HFONT made = CreateFontW(height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             wanted.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, wide(Text(wanted.face)));
    if (made != nullptr) {
        fonts_.emplace_back(wanted, made);
    }
    return made;
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
    setIcon();
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
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

void BuiltWindow::setIcon() {
    if (design_->icon == design::Picture::None) {
        return;
    }
    if (HICON big = loadPicture(design_->icon, dpi_)) {
        images_.push_back(big);
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(big));
    }
}

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
    std::vector<std::pair<design::Font, HFONT>> oldFonts;
    std::vector<HANDLE> oldImages;
    std::vector<HIMAGELIST> oldLists;
    oldFonts.swap(fonts_);
    oldImages.swap(images_);
    oldLists.swap(imageLists_);

    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font(design_->font)), FALSE);
    setIcon();
    // The window first: the status bar docks to its new bottom.
    fitToDesign(suggested);
    for (const design::Control& described : design_->controls) {
        if (HWND made = control(described.name)) {
            place(made, described);
            SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font(described.font)), TRUE);
            setPicture(made, described);
            fitContent(made, described);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);

    for (HIMAGELIST list : oldLists) {
        ImageList_Destroy(list);
    }
    for (HANDLE image : oldImages) {
        DestroyIcon(static_cast<HICON>(image));
    }
    for (auto& entry : oldFonts) {
        DeleteObject(entry.second);
    }
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
            tabOrder_.push_back(made);
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
    setPicture(made, described);
    fitContent(made, described);
    addToolTip(made, described);
    return made;
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

void BuiltWindow::setPicture(HWND made, const design::Control& described) {
    if (described.picture == design::Picture::None) {
        return;
    }
    HICON picture = loadPicture(described.picture, dpi_);
    if (picture == nullptr) {
        return;
    }
    images_.push_back(picture);
    if (described.kind == Kind::CaptionButton) {
        const design::PixelSize size = design::pictureSize(described.picture);
        HIMAGELIST list =
            ImageList_Create(MulDiv(size.width, dpi_, 96), MulDiv(size.height, dpi_, 96),
                             ILC_COLOR32 | ILC_MASK, 1, 0);
        if (list != nullptr) {
            imageLists_.push_back(list);
            ImageList_AddIcon(list, picture);
            BUTTON_IMAGELIST images{
                list, {0, MulDiv(4, dpi_, 96), 0, 0}, BUTTON_IMAGELIST_ALIGN_TOP};
            SendMessageW(made, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
        }
    } else if (described.kind == Kind::PictureBox) {
        SendMessageW(made, STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
    } else {
        SendMessageW(made, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
    }
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

void BuiltWindow::addToolTip(HWND made, const design::Control& described) {
    if (described.toolTip.empty() || tooltips_ == nullptr) {
        return;
    }
    const Text tip(described.toolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(made);
    tool.uId = reinterpret_cast<UINT_PTR>(made);
    tool.lpszText = const_cast<wchar_t*>(wide(tip));
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND BuiltWindow::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

std::string_view BuiltWindow::nameOf(int id) const {
    const auto found = names_.find(id);
    return found == names_.end() ? std::string_view() : std::string_view(found->second);
}

bool BuiltWindow::canFocus(HWND candidate) const {
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
    for (HWND other : tabOrder_) {
        if (other != candidate && GetParent(other) == GetParent(candidate) &&
            (SendMessageW(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0 &&
            SendMessageW(other, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return false;
        }
    }
    return true;
}

bool BuiltWindow::tab(bool backwards) {
    if (tabOrder_.empty()) {
        return false;
    }
    const auto count = static_cast<std::ptrdiff_t>(tabOrder_.size());
    HWND focus = GetFocus();
    std::ptrdiff_t at = -1;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        HWND stop = tabOrder_[static_cast<std::size_t>(i)];
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
        HWND candidate = tabOrder_[static_cast<std::size_t>(next)];
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

void BuiltWindow::focusFirst() {
    for (HWND stop : tabOrder_) {
        if (canFocus(stop)) {
            SetFocus(stop);
            return;
        }
    }
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
