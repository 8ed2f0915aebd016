// SPDX-License-Identifier: MIT
// Starts a program, waits until it shows a top-level window whose caption is
// the main window's caption of this version, closes that window as the close
// box would and waits for the program to end. The installer's round trip under
// wine runs the installed tessark.exe through it.
//
//   tessark_window_probe PROGRAM.exe
//   tessark_window_probe --command "COMMAND LINE" TEXT...
//
// The second form starts a whole command line (as the shell runs a registered
// one) and, once the window is up, waits until each TEXT is the whole text of
// one of the window's edit boxes or an entry of its list.
//
// Prints the caption found, then with --command the boxes' texts and the
// list's entries; exits 0 when the window appeared (showing every TEXT) and
// the program then ended by itself, 1 otherwise.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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

// The texts of the window's edit boxes and its list's entries, each with what
// it is in front ("edit: ", "list: ").
struct Shown {
    std::vector<std::wstring> lines;
    std::vector<std::wstring> texts;
};

BOOL CALLBACK visitChild(HWND child, LPARAM param) {
    auto* shown = reinterpret_cast<Shown*>(param);
    wchar_t kind[32] = {};
    GetClassNameW(child, kind, 32);
    const auto keep = [shown](const wchar_t* what, std::wstring text) {
        shown->lines.push_back(what + text);
        shown->texts.push_back(std::move(text));
    };
    if (lstrcmpiW(kind, L"Edit") == 0) {
        // GetWindowText would give another process's box its caption at
        // creation, not what it holds now.
        const LRESULT length = SendMessageW(child, WM_GETTEXTLENGTH, 0, 0);
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT got =
            SendMessageW(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
        keep(L"edit: ", std::move(text));
    } else if (lstrcmpiW(kind, L"ListBox") == 0) {
        const LRESULT count = SendMessageW(child, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = SendMessageW(child, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring item(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
            const LRESULT got = SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i),
                                             reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
            keep(L"list: ", std::move(item));
        }
    }
    return TRUE;
}

Shown shownBy(HWND window) {
    Shown shown;
    EnumChildWindows(window, visitChild, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

bool showsAll(const Shown& shown, const std::vector<std::wstring>& expected) {
    return std::all_of(expected.begin(), expected.end(), [&shown](const std::wstring& text) {
        return std::find(shown.texts.begin(), shown.texts.end(), text) != shown.texts.end();
    });
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
    const bool whole = argc >= 3 && std::wstring_view(argv[1]) == L"--command";
    if (argc != 2 && !whole) {
        std::fprintf(stderr,
                     "usage: tessark_window_probe PROGRAM.exe\n"
                     "       tessark_window_probe --command \"COMMAND LINE\" TEXT...\n");
        return 2;
    }
    std::wstring commandLine = whole ? argv[2] : L"\"" + std::wstring(argv[1]) + L"\"";
    const std::vector<std::wstring> expected(argv + (whole ? 3 : argc), argv + argc);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(whole ? nullptr : argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
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
    if (whole) {
        // The files are opened once the window is up.
        Shown shown = shownBy(search.found);
        for (int poll = 0; poll < kPolls && !showsAll(shown, expected); ++poll) {
            Sleep(kPollMs);
            shown = shownBy(search.found);
        }
        for (const std::wstring& line : shown.lines) {
            std::printf("%s\n", utf8(line).c_str());
        }
        if (!showsAll(shown, expected)) {
            return fail("the window does not show the files of its command line", started.hProcess);
        }
    }

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
