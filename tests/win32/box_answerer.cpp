// SPDX-License-Identifier: MIT
#include "box_answerer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tessark::test {

namespace {

thread_local BoxAnswerer* active = nullptr;
thread_local HWND pendingBox = nullptr;

// The box is activated before it has its text and buttons: it is read once
// its own modal loop runs, from a thread timer that loop dispatches.
void CALLBACK answerPending(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = pendingBox;
    pendingBox = nullptr;
    if (active != nullptr && box != nullptr && IsWindow(box)) {
        active->answer(box);
    }
}

Text dialogText(HWND box, int id) {
    wchar_t buffer[4096] = {};
    const UINT length = GetDlgItemTextW(box, id, buffer, 4096);
    return Text(reinterpret_cast<const char16_t*>(buffer), length);
}

HWND iconStatic(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Static") == 0 &&
            (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return child;
        }
    }
    return nullptr;
}

BoxIcon iconOf(HWND box) {
    HWND icon = iconStatic(box);
    if (icon == nullptr || !IsWindowVisible(icon)) {
        return BoxIcon::None;
    }
    const auto shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
    if (shown == nullptr) {
        return BoxIcon::None;
    }
    const std::pair<LPCWSTR, BoxIcon> system[] = {
        {IDI_HAND, BoxIcon::Stop},
        {IDI_QUESTION, BoxIcon::Question},
        {IDI_EXCLAMATION, BoxIcon::Exclamation},
        {IDI_ASTERISK, BoxIcon::Information},
    };
    for (const auto& [id, kind] : system) {
        if (shown == LoadIconW(nullptr, id)) {
            return kind;
        }
    }
    return BoxIcon::Other;
}

}  // namespace

BoxAnswerer::BoxAnswerer() {
    active = this;
    hook_ = SetWindowsHookExW(WH_CBT, &BoxAnswerer::hook, nullptr, GetCurrentThreadId());
    EXPECT_NE(hook_, nullptr) << "cannot hook the message boxes: " << GetLastError();
}

BoxAnswerer::~BoxAnswerer() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    active = nullptr;
}

LRESULT CALLBACK BoxAnswerer::hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && active != nullptr) {
        auto* window = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770" && pendingBox == nullptr) {
            pendingBox = window;
            SetTimer(nullptr, 0, 10, &answerPending);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Wine closes a box on any Yes, No or OK command, even for a button the box
// does not have: only a button that is there is pressed.
void BoxAnswerer::answer(HWND box) {
    SeenBox seenBox;
    seenBox.text = dialogText(box, 0xFFFF);
    wchar_t title[512] = {};
    const int titleLength = GetWindowTextW(box, title, 512);
    seenBox.title = Text(reinterpret_cast<const char16_t*>(title),
                         static_cast<std::size_t>(std::max(titleLength, 0)));
    seenBox.icon = iconOf(box);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button != nullptr && (GetWindowLongPtrW(button, GWL_STYLE) & WS_VISIBLE) != 0) {
            seenBox.buttons.push_back(id);
            if ((GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                seenBox.defaultButton = id;
            }
        }
    }
    const auto has = [&](int id) {
        return std::find(seenBox.buttons.begin(), seenBox.buttons.end(), id) !=
               seenBox.buttons.end();
    };
    int wanted = has(IDYES) ? IDYES : IDOK;
    if (!answers.empty()) {
        wanted = answers.front();
        answers.pop_front();
    }
    int press = wanted;
    if (has(wanted)) {
        seenBox.pressed = wanted;
    } else {
        // Still close the box, so that the test fails instead of hanging.
        press = seenBox.buttons.empty() ? IDCANCEL : seenBox.buttons.front();
    }
    seen.push_back(seenBox);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
}

}  // namespace tessark::test
