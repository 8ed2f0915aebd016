// SPDX-License-Identifier: MIT
// The process's arguments and its standard streams, in UTF-8 on every system.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessark::cli {

// Takes the user's locale for the character set of what is printed, keeping
// the C library's own words (the reasons in error messages) in English like
// the rest of the program's, and numbers with a decimal point.
void useUserLocale();

// The arguments after the program's name, in UTF-8. On Windows they are read
// from the wide command line, so that names outside the ANSI code page arrive
// whole.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// The first argument that is not well-formed UTF-8, with its bytes outside
// ASCII shown as "\xFF"; nothing when all are. Outside Windows file names are
// taken as UTF-8 whatever the locale, as the window takes them, and a name
// that is not would otherwise become U+FFFD and reach another file.
std::optional<std::string> malformedArgument(const std::vector<std::string>& arguments);

// Standard error is a terminal (a console window on Windows).
bool errorIsTerminal();

// Writes UTF-8 text to standard output or standard error: as it is in a
// UTF-8 or C locale (where the bytes of a name are the name), in the
// locale's character set in any other ("?" for what it cannot show); to a
// Windows console as UTF-16, which shows every character.
void writeOut(std::string_view text);
void writeError(std::string_view text);

}  // namespace tessark::cli
