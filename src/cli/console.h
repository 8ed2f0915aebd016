// SPDX-License-Identifier: MIT
// The process's arguments and its standard streams, in UTF-8 on every system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessark::cli {

// The arguments after the program's name, in UTF-8. On Windows they are read
// from the wide command line, so that names outside the ANSI code page arrive
// whole.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Standard error is a terminal (a console window on Windows).
bool errorIsTerminal();

// Writes UTF-8 text to standard output or standard error as it is; to a
// Windows console as UTF-16, which shows every character.
void writeOut(std::string_view text);
void writeError(std::string_view text);

}  // namespace tessark::cli
