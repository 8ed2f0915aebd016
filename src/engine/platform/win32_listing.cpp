// SPDX-License-Identifier: MIT
// The files and folders in a folder, through FindFirstFileW, with patterns
// that mean what they mean on every other file system.
#include <algorithm>

#include "engine/core/wildcard.h"
#include "engine/platform/win32_error_map.h"
#include "engine/platform/win32_file_system.h"
#include "engine/platform/win32_io.h"

namespace tessark {

namespace win32 {

void forEachEntry(const Text& pattern, const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW data{};
    const HANDLE first = FindFirstFileExW(pathOf(pattern).c_str(), FindExInfoBasic, &data,
                                          FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (meansAbsent(code) || code == ERROR_NO_MORE_FILES) {
            return;
        }
        raiseWin32(code, pattern, FileAction::List);
    }
    const FindHandle find(first);
    do {
        visit(data);
    } while (FindNextFileW(find.get(), &data));
    if (const DWORD code = GetLastError(); code != ERROR_NO_MORE_FILES) {
        raiseWin32(code, pattern, FileAction::List);
    }
}

}  // namespace win32

using win32::wide;

namespace {

Text upper(Text text) {
    if (!text.empty()) {
        std::wstring w = wide(text);
        CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
        std::transform(w.begin(), w.end(), text.begin(),
                       [](wchar_t c) { return static_cast<char16_t>(c); });
    }
    return text;
}

}  // namespace

using win32::forEachEntry;
using win32::fromWide;
using win32::joinPath;

std::vector<Text> Win32FileSystem::findFiles(const Text& pattern) {
    std::vector<Text> names;
    forEachFile(pattern, [&](Text&& name) { names.push_back(std::move(name)); });
    return names;
}

void Win32FileSystem::forEachFile(const Text& pattern, const std::function<void(Text&&)>& visit) {
    // FindFirstFileW also matches generated short names and reads "*.*" as
    // "*"; its result is filtered again on the long name so that the pattern
    // means the same here as on every other file system, save for case.
    const std::size_t cut = pattern.find_last_of(u"\\/:");
    const Text namePattern = upper(cut == Text::npos ? pattern : pattern.substr(cut + 1));
    forEachEntry(pattern, [&](const WIN32_FIND_DATAW& entry) {
        constexpr DWORD kNotOrdinary =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((entry.dwFileAttributes & kNotOrdinary) != 0) {
            return;
        }
        Text name = fromWide(entry.cFileName);
        if (wildcardMatch(namePattern, upper(name))) {
            visit(std::move(name));
        }
    });
}

std::vector<Text> Win32FileSystem::listFolders(const Text& folder) {
    std::vector<Text> names;
    const Text root = folder.size() == 2 && folder[1] == u':' ? folder + u'\\' : folder;
    forEachEntry(joinPath(root, u"*"), [&](const WIN32_FIND_DATAW& entry) {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return;
        }
        Text name = fromWide(entry.cFileName);
        if (name != u"." && name != u"..") {
            names.push_back(std::move(name));
        }
    });
    return names;
}

}  // namespace tessark
