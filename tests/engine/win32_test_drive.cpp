// SPDX-License-Identifier: MIT
#include "win32_test_drive.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace tessark::test {
namespace {

std::wstring wide(TextView text) {
    return std::wstring(text.begin(), text.end());
}

[[noreturn]] void fail(const char* what, const Text& path) {
    throw std::runtime_error(std::string(what) + " failed (" + std::to_string(GetLastError()) +
                             "): " + toUtf8(path));
}

void removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                removeTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    makeFolder(u"C:\\tessark-tests");
    path_ = u"C:\\tessark-tests\\" + decimal(GetCurrentProcessId()) + u"-" + decimal(++counter);
    removeTree(wide(path_));
    makeFolder(path_);
}

ScratchFolder::~ScratchFolder() {
    removeTree(wide(path_));
}

void makeFolder(const Text& path) {
    if (!CreateDirectoryW(wide(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        fail("CreateDirectoryW", path);
    }
}

void writeWholeFile(const Text& path, std::string_view bytes) {
    const HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail("CreateFileW", path);
    }
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    if (!ok) {
        fail("WriteFile", path);
    }
}

std::string readWholeFile(const Text& path) {
    const HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail("CreateFileW", path);
    }
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

void setAttributes(const Text& path, unsigned long attributes) {
    if (!SetFileAttributesW(wide(path).c_str(), attributes)) {
        fail("SetFileAttributesW", path);
    }
}

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void removeFolder(const Text& path) {
    removeTree(wide(path));
}

std::string sampleBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& b : bytes) {
        state = state * 1664525u + 1013904223u;  // a plain LCG is enough here
        b = static_cast<char>(state >> 24);
    }
    return bytes;
}

unsigned long runCommandProcessor(const Text& folder, const Text& command) {
    std::wstring line = L"cmd.exe /c " + wide(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        wide(folder).c_str(), &startup, &process)) {
        fail("CreateProcessW", command);
    }
    constexpr DWORD kWait = 120'000;
    const DWORD waited = WaitForSingleObject(process.hProcess, kWait);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0) {
        throw std::runtime_error("the command processor did not finish: " + toUtf8(command));
    }
    return code;
}

bool wineFixtureReady() {
    const wchar_t* value = _wgetenv(L"TESSARK_WINE_FIXTURE");
    return value != nullptr && std::wstring(value) == L"1";
}

}  // namespace tessark::test
