// SPDX-License-Identifier: MIT
#include "win32/tooltips.h"

#include "win32/win32_text.h"

namespace tessark::win32 {

ToolTips::~ToolTips() {
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

void ToolTips::create(HWND owner) {
    window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
}

void ToolTips::add(HWND made, const design::Control& described) {
    if (described.toolTip.empty() || window_ == nullptr) {
        return;
    }
    const Text tip(described.toolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(made);
    tool.uId = reinterpret_cast<UINT_PTR>(made);
    tool.lpszText = const_cast<wchar_t*>(wide(tip));
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace tessark::win32
