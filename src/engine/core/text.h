// SPDX-License-Identifier: MIT
// Text helpers shared by the split, the merge and the window: the program keeps
// text as UTF-16 units, exactly as the window's controls hold it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessark {

using Text = std::u16string;
using TextView = std::u16string_view;

// Removes leading and trailing U+0020 only; tabs and other blanks stay.
Text trimSpaces(TextView text);

bool endsWith(TextView text, TextView tail);

// Index of the last occurrence of `c`, or npos.
std::size_t lastIndexOf(TextView text, char16_t c);

// The longest leading decimal number of `text`: blanks anywhere are ignored,
// an optional sign, digits with at most one decimal point, then an optional
// exponent. A text that does not begin with a number reads as 0.
double leadingNumber(TextView text);

// Rounds to the nearest integer, halves to the even neighbour. Returns nothing
// when the result does not fit a signed 64-bit integer.
std::optional<std::int64_t> roundHalfEven(double value);

// The name part of a path: everything after its last separator, or the whole
// path when it has none.
Text GetFileName(TextView path, char16_t separator);

// The folder part: everything before the last separator; nothing when the path
// has no separator at all.
std::optional<Text> folderPart(TextView path, char16_t separator);

// The folder to look up for `path`: its folder part, or the root when the path
// begins with its only separator ("/x" lives in "/").
std::optional<Text> folderToLookUp(TextView path, char16_t separator);

Text decimal(std::int64_t value);

Text fromUtf8(std::string_view utf8);
std::string toUtf8(TextView text);

}  // namespace tessark
