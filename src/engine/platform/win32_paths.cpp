// SPDX-License-Identifier: MIT
// The names the wide-character Win32 calls are given.
#include <algorithm>

#include "engine/platform/win32_io.h"

namespace tessark::win32 {

// UTF-16 text is what the wide Win32 calls take, unit for unit.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Names this long reach the system whole only in the "\\?\" form (the limit
// is MAX_PATH with its NUL, less room for an 8.3 name in a folder's case).
constexpr std::size_t kLongPath = MAX_PATH - 12;

}  // namespace

std::wstring wide(TextView text) {
    std::wstring out(text.size(), L'\0');
    std::transform(text.begin(), text.end(), out.begin(),
                   [](char16_t c) { return static_cast<wchar_t>(c); });
    return out;
}

Text fromWide(const wchar_t* text) {
    Text out;
    for (; *text != L'\0'; ++text) {
        out += static_cast<char16_t>(*text);
    }
    return out;
}

std::wstring pathOf(const Text& path) {
    std::wstring out = wide(path);
    if (out.size() == 2 && out[1] == L':') {
        out += L'\\';
    }
    if (out.size() < kLongPath || out.starts_with(L"\\\\?\\")) {
        return out;
    }
    std::wstring full(out.size() + MAX_PATH, L'\0');
    const DWORD length =
        GetFullPathNameW(out.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return out;  // the call that uses it reports the failure
    }
    full.resize(length);
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

Text joinPath(const Text& folder, const Text& name) {
    if (folder.empty()) {
        return name;
    }
    return isSeparator(folder.back()) ? folder + name : folder + u'\\' + name;
}

}  // namespace tessark::win32
