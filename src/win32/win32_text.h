// SPDX-License-Identifier: MIT
// Conversions between the engine's text and what the Win32 calls take: wide
// strings and the open-file dialog's filter list.
#pragma once

#include "win32/win32_api.h"

#include <string>

#include "engine/core/text.h"

namespace tessark::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline const wchar_t* wide(const Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline Text fromWide(const wchar_t* text, std::size_t length) {
    return Text(reinterpret_cast<const char16_t*>(text), length);
}

// The open-file dialog's filter list: the pairs of a "description|pattern|..."
// text as NUL-separated strings ending with two NULs. A trailing description
// without a pattern is dropped, as the dialog would read past it.
std::wstring filterList(const Text& filter);

// A window's text; empty when the window has none.
Text windowText(HWND window);

}  // namespace tessark::win32
