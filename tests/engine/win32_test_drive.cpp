#include "win32_test_drive.h"

#include <windows.h>

#include <atomic>
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

std::optional<Text> wineFixtureDrive() {
    const wchar_t* drive = _wgetenv(L"TESSARK_WINE_FIXTURE_DRIVE");
    if (drive == nullptr || *drive == L'\0') {
        return std::nullopt;
    }
    return Text(drive, drive + wcslen(drive));
}

}  // namespace tessark::test
