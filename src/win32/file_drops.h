// SPDX-License-Identifier: MIT
// Files handed to the Windows program from outside: named on its command line
// (what "Open with" and the context menu run) or dropped from a file manager.
#pragma once

#include "win32/win32_api.h"

#include <vector>

#include "engine/core/text.h"

namespace tessark::win32 {

// The files named after the program on `commandLine` (the whole line, the
// program first, as GetCommandLineW gives it), split by the system's rules
// for quotes and made absolute against the current folder.
std::vector<Text> commandLineFiles(const wchar_t* commandLine);

// What a drop carries: its files in the drop's order and where it was
// dropped, in the client area of the window that took it.
struct DroppedFiles {
    std::vector<Text> files;
    POINT at{};
};

// Reads a drop and releases its block: the file manager's drop is over.
DroppedFiles takeDrop(HDROP drop);

}  // namespace tessark::win32
