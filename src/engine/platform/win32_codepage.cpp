// SPDX-License-Identifier: MIT
// Link.bat's text in the system's ANSI code page, one "?" for every
// character the code page cannot hold.
#include <optional>
#include <string>

#include "engine/platform/win32_file_system.h"
#include "engine/platform/win32_io.h"

namespace tessark {

namespace {

std::string encodeUtf8(const Text& text) {
    // The UTF-8 code page has no default character; lone surrogates, which
    // have no UTF-8 form, become "?" here instead.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += toUtf8(TextView(text).substr(i, 2));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += '?';
        } else {
            out += toUtf8(TextView(&text[i], 1));
        }
    }
    return out;
}

// Encodes `units` into `codePage`; returns nothing when a character had to be
// replaced or the call failed.
std::optional<std::string> encodeExactly(UINT codePage, const wchar_t* units, int count) {
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(codePage, flags, units, count, nullptr, 0, "?", &usedDefault);
    if (size == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;  // code pages without best-fit tables refuse the flag
        size = WideCharToMultiByte(codePage, flags, units, count, nullptr, 0, "?", &usedDefault);
    }
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, units, count, out.data(), size, "?", &usedDefault) !=
            size ||
        usedDefault) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

std::string Win32FileSystem::encodeAnsi(const Text& text) const {
    if (text.empty()) {
        return {};
    }
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) {
        return encodeUtf8(text);
    }
    const std::wstring units = win32::wide(text);
    if (auto whole = encodeExactly(codePage, units.data(), static_cast<int>(units.size()))) {
        return *whole;
    }
    // Something could not be encoded: go character by character so that each
    // such character, a surrogate pair included, becomes exactly one "?".
    std::string out;
    for (std::size_t i = 0; i < units.size();) {
        const bool pair = units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() &&
                          units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        const int count = pair ? 2 : 1;
        if (auto one = encodeExactly(codePage, units.data() + i, count)) {
            out += *one;
        } else {
            out += '?';
        }
        i += static_cast<std::size_t>(count);
    }
    return out;
}

}  // namespace tessark
