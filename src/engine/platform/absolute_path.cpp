// SPDX-License-Identifier: MIT
#include <filesystem>

#include "engine/platform/native_file_system.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace tessark {

#ifdef _WIN32

Text absoluteNativePath(const Text& typed) {
    if (typed.empty()) {
        return {};
    }
    // "\\?\" and "\\.\" names are taken literally by the system: anything
    // done to them (a drive put in front, dots resolved) would name another
    // file or none.
    if (typed.starts_with(u"\\\\?\\") || typed.starts_with(u"\\\\.\\")) {
        return typed;
    }
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const std::wstring in(typed.begin(), typed.end());
    // The system's own rules: the current folder of the drive named, "/" as
    // "\", "." and ".." resolved; no limit on the length.
    std::wstring full(in.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(in.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return typed;  // the call that uses it reports why
        }
        if (length < full.size()) {
            full.resize(length);
            return Text(full.begin(), full.end());
        }
        full.resize(length);
    }
}

#else

Text absoluteNativePath(const Text& typed) {
    if (typed.empty()) {
        return {};
    }
    std::error_code failed;
    const std::filesystem::path full = std::filesystem::absolute(typed, failed);
    return failed ? typed : full.u16string();
}

#endif

}  // namespace tessark
