// SPDX-License-Identifier: MIT
#include "win32/win32_controls.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "win32/taskbar.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

namespace {

// Progress values beyond what the control holds (a 32-bit range) are clamped.
int progressUnits(double value) {
    if (!(value > 0)) {
        return 0;
    }
    constexpr double kTop = std::numeric_limits<int>::max();
    return static_cast<int>(std::min(std::floor(value), kTop));
}

}  // namespace

Text Win32TextBox::text() const {
    return windowText(edit_);
}

void Win32TextBox::setText(const Text& text) {
    SetWindowTextW(edit_, wide(text));
}

void Win32TextBox::selectAll() {
    SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void Win32TextBox::caretToEnd() {
    const LRESULT length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(length), length);
}

void Win32TextBox::setFocus() {
    SetFocus(edit_);
}

void Win32Label::setCaption(const Text& caption) {
    SetWindowTextW(label_, wide(caption));
    if (!autoSize_) {
        return;
    }
    HDC dc = GetDC(label_);
    if (dc == nullptr) {
        return;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label_, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    const bool measured =
        caption.empty() ||
        GetTextExtentPoint32W(dc, wide(caption), static_cast<int>(caption.size()), &size);
    if (previous != nullptr) {
        SelectObject(dc, previous);
    }
    ReleaseDC(label_, dc);
    if (measured) {
        SetWindowPos(label_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool Win32OptionButton::selected() const {
    return SendMessageW(button_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Win32ListBox::Win32ListBox(HWND list, HWND tooltips, std::function<void()> onClick)
    : list_(list), tooltips_(tooltips), onClick_(std::move(onClick)) {
    if (tooltips_ != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = GetParent(list_);
        tool.uId = reinterpret_cast<UINT_PTR>(list_);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::int64_t Win32ListBox::count() const {
    const LRESULT n = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : n;
}

Text Win32ListBox::item(std::int64_t index) const {
    const auto i = static_cast<WPARAM>(index);
    const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, i, 0);
    if (index < 0 || length == LB_ERR) {
        return {};
    }
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    return got == LB_ERR ? Text() : fromWide(buffer.data(), static_cast<std::size_t>(got));
}

void Win32ListBox::setItem(std::int64_t index, const Text& text) {
    if (index < 0 || index >= count()) {
        return;
    }
    const bool wasSelected = selectedIndex() == index;
    const auto i = static_cast<WPARAM>(index);
    SendMessageW(list_, LB_DELETESTRING, i, 0);
    SendMessageW(list_, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(wide(text)));
    if (wasSelected) {
        SendMessageW(list_, LB_SETCURSEL, i, 0);
    }
}

void Win32ListBox::addItem(const Text& text) {
    SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(wide(text)));
}

void Win32ListBox::addItems(const std::vector<Text>& texts) {
    std::size_t bytes = 0;
    for (const Text& text : texts) {
        bytes += (text.size() + 1) * sizeof(wchar_t);
    }
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(bytes));
    for (const Text& text : texts) {
        addItem(text);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void Win32ListBox::removeItem(std::int64_t index) {
    if (index >= 0) {
        SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
}

void Win32ListBox::clear() {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}

std::int64_t Win32ListBox::selectedIndex() const {
    const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : index;
}

void Win32ListBox::setSelectedIndex(std::int64_t index) {
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
    if (onClick_) {
        onClick_();
    }
}

void Win32ListBox::setToolTip(const Text& text) {
    toolTip_ = text;
    if (tooltips_ == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(list_);
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = const_cast<wchar_t*>(wide(toolTip_));
    SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32ProgressBar::setMaximum(double maximum) {
    SendMessageW(bar_, PBM_SETRANGE32, 0, progressUnits(maximum));
    if (taskbar_ != nullptr) {
        taskbar_->setMaximum(maximum);
    }
}

void Win32ProgressBar::setValue(double value) {
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(progressUnits(value)), 0);
    if (taskbar_ != nullptr) {
        taskbar_->setValue(value);
    }
}

void Win32ProgressBar::setVisible(bool visible) {
    ShowWindow(bar_, visible ? SW_SHOWNA : SW_HIDE);
    if (visible) {
        UpdateWindow(bar_);
    }
    if (taskbar_ != nullptr) {
        taskbar_->setVisible(visible);
    }
}

Win32StatusBar::Win32StatusBar(HWND bar, const std::array<int, kPanels>& widths) : bar_(bar) {
    std::array<int, kPanels> rightEdges{};
    int edge = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        edge += widths[i];
        rightEdges[i] = edge;
    }
    SendMessageW(bar_, SB_SETPARTS, kPanels, reinterpret_cast<LPARAM>(rightEdges.data()));
    showDate();
}

void Win32StatusBar::setPanelText(int panel, const Text& text) {
    if (panel < 1 || panel > kPanels) {
        return;
    }
    SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(panel - 1),
                 reinterpret_cast<LPARAM>(wide(text)));
    if (dpi_ != 0 && !fits(panel, text)) {
        fitFont(dpi_);
    }
}

Text Win32StatusBar::panelText(int panel) const {
    if (panel < 1 || panel > kPanels) {
        return {};
    }
    const auto part = static_cast<WPARAM>(panel - 1);
    const LRESULT info = SendMessageW(bar_, SB_GETTEXTLENGTHW, part, 0);
    std::wstring buffer(static_cast<std::size_t>(LOWORD(info)) + 1, L'\0');
    SendMessageW(bar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buffer.data()));
    return fromWide(buffer.data(), LOWORD(info));
}

void Win32StatusBar::showDate() {
    wchar_t date[128];
    const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr,
                                       date, 128, nullptr);
    if (length > 0) {
        setPanelText(kDatePanel, fromWide(date, static_cast<std::size_t>(length - 1)));
    }
}

void Win32MousePointer::setPointer(int code) {
    shown_ = code == pointer::Hourglass ? LoadCursorW(nullptr, IDC_WAIT) : nullptr;
    SetCursor(shown_ != nullptr ? shown_ : LoadCursorW(nullptr, IDC_ARROW));
}

void Win32StopListener::listen() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && !repeated) {
            ask(StopRequest::Stop);
        } else if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 && !repeated) {
            ask(StopRequest::StopAndEnd);
        }
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        if (message.message == WM_LBUTTONUP && exit_ != nullptr && message.hwnd == exit_) {
            ask(StopRequest::StopAndEnd);
        }
    }
    while (PeekMessageW(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
        if (message.message == WM_NCLBUTTONDOWN && message.wParam == HTCLOSE &&
            message.hwnd == window_) {
            ask(StopRequest::StopAndEnd);
        }
    }
    while (PeekMessageW(&message, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
        if ((message.wParam & 0xFFF0) == SC_CLOSE && message.hwnd == window_) {
            ask(StopRequest::StopAndEnd);
        }
    }
    while (PeekMessageW(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
        if (message.hwnd == window_) {
            ask(StopRequest::StopAndEnd);
        } else {
            DispatchMessageW(&message);
        }
    }
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        if (window_ == nullptr || message.hwnd != window_) {
            DispatchMessageW(&message);
        }
    }
}

StopRequest Win32StopListener::takeStopRequest() {
    return std::exchange(request_, StopRequest::None);
}

void Win32StopListener::ask(StopRequest request) {
    request_ = std::max(request_, request);
}

int Win32MessageBox::showBox(const Text& prompt, int style, const Text& title) {
    // Without an owner the box still blocks every window of the program.
    const UINT modality = owner_ == nullptr ? MB_TASKMODAL : 0;
    const bool error = (style & MB_ICONMASK) == MB_ICONHAND;
    if (error && taskbar_ != nullptr) {
        taskbar_->setError(true);
    }
    const int answer =
        ::MessageBoxW(owner_, wide(prompt), wide(title), static_cast<UINT>(style) | modality);
    if (error && taskbar_ != nullptr) {
        taskbar_->setError(false);
    }
    // A box that could not be shown answers nothing: read as the safe "No"
    // for a question and as OK for a notice.
    if (answer == 0) {
        return (style & 0xF) == MB_YESNO ? mb::No : mb::Ok;
    }
    return answer;
}

void Win32CommonDialog::showOpen() {
    // Room for long paths (the "\\?\" form reaches 32767 characters).
    std::wstring file(32768, L'\0');
    const std::wstring filters = filterList(filter);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initDir.empty() ? nullptr : wide(initDir);
    dialog.lpstrTitle = dialogTitle.empty() ? nullptr : wide(dialogTitle);
    dialog.Flags = static_cast<DWORD>(flags) | OFN_EXPLORER;
    if (GetOpenFileNameW(&dialog)) {
        fileName = fromWide(file.c_str(), wcslen(file.c_str()));
    } else {
        fileName.clear();
    }
}

}  // namespace tessark::win32
