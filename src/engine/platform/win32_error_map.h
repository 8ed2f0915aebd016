// SPDX-License-Identifier: MIT
// The one place where Windows system error codes (GetLastError) become the
// run-time error numbers that the disk error report knows.
#pragma once

#include <cstdint>
#include "engine/core/runtime_error.h"
#include "engine/core/text.h"

namespace tessark {

// The run-time error number for a failed Win32 file or drive call. Codes with
// no closer meaning give 57 (device input/output error), so that an
// unexpected failure still stops the action with a message.
int runtimeErrorFromWin32(std::uint32_t code) noexcept;

// Throws the run-time error for `code`, saying what was being done to which
// file and keeping the code for the front ends to word.
[[noreturn]] void raiseWin32(std::uint32_t code, const Text& path = {},
                             FileAction action = FileAction::None);

}  // namespace tessark
