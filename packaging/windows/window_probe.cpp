// SPDX-License-Identifier: MIT
// Starts a program, waits until it shows a top-level window whose caption is
// the main window's caption of this version, closes that window as the close
// box would and waits for the program to end. The installer's round trip under
// wine runs the installed tessark.exe through it.
//
//   tessark_window_probe PROGRAM.exe
//
// Prints the caption found; exits 0 when the window appeared and the program
// then ended by itself, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "version/version.h"

namespace {

// The caption starts with the product and the shown version, then a blank.
constexpr std::wstring_view kCaptionStart = L"Quorin文件分割机 Tessark " TESSARK_VERSION_SHOWN L" ";
constexpr DWORD kPollMs = 100;
constexpr int kPolls = 600;  // a minute for the window to show
constexpr DWORD kEndMs = 30000;

struct Search {
    DWORD process = 0;
    HWND found = nullptr;
    std::wstring caption;
};

BOOL CALLBACK visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t text[512];
    const int length = GetWindowTextW(window, text, 512);
    const std::wstring_view caption(text, length > 0 ? static_cast<size_t>(length) : 0);
    if (!caption.starts_with(kCaptionStart)) {
        return TRUE;
    }
    search->found = window;
    search->caption = caption;
    return FALSE;
}

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                            size, nullptr, nullptr);
    }
    return result;
}

int fail(const char* what, HANDLE process) {
    std::fprintf(stderr, "tessark_window_probe: %s\n", what);
    if (process != nullptr) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessark_window_probe PROGRAM.exe\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return fail("the program does not start", nullptr);
    }
    CloseHandle(started.hThread);

    Search search;
    search.process = started.dwProcessId;
    for (int poll = 0; poll < kPolls && search.found == nullptr; ++poll) {
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr &&
            WaitForSingleObject(started.hProcess, kPollMs) == WAIT_OBJECT_0) {
            return fail("the program ended without showing its main window", started.hProcess);
        }
    }
    if (search.found == nullptr) {
        return fail("no main window with the expected caption", started.hProcess);
    }
    std::printf("%s\n", utf8(search.caption).c_str());

    if (!PostMessageW(search.found, WM_CLOSE, 0, 0)) {
        return fail("the close message cannot be posted", started.hProcess);
    }
    if (WaitForSingleObject(started.hProcess, kEndMs) != WAIT_OBJECT_0) {
        return fail("the program did not end after its window was closed", started.hProcess);
    }
    DWORD code = 1;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    if (code != 0) {
        std::fprintf(stderr, "tessark_window_probe: the program ended with %lu\n", code);
        return 1;
    }
    return 0;
}
