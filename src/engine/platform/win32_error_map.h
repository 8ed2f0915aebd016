// SPDX-License-Identifier: MIT
// The one place where Windows system error codes (GetLastError) become the
// run-time error numbers that the disk error report knows.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/text.h"

namespace tessark {

// The run-time error number for a failed Win32 file or drive call. Codes with
// no closer meaning give 57 (device input/output error), so that an
// unexpected failure still stops the action with a message.
int runtimeErrorFromWin32(std::uint32_t code) noexcept;

// The system's own words for `code` (FormatMessageW), in UTF-8, without the
// line break it ends with; empty when the system has none.
std::string win32Reason(std::uint32_t code);

// Throws the run-time error for `code`, saying what was being done (`action`,
// "open", "write"...) to which file, with the system's reason.
[[noreturn]] void raiseWin32(std::uint32_t code, const Text& path = {}, const char* action = "");

}  // namespace tessark
