// SPDX-License-Identifier: MIT
// The CLI's English for the engine's run-time errors: the meaning of each
// number, what was being done, and the system's own words for its code.
#pragma once

#include <string>

#include "engine/core/runtime_error.h"

namespace tessark::cli {

// The English meaning of a run-time error number ("Disk full" for 61).
std::string errorNumberMeaning(int number);

// The verb for what was being done ("look up", "create a temporary file in").
std::string actionWords(FileAction action);

// The system's own words for its code (strerror for errno, FormatMessage for a
// Windows code) in UTF-8 on one line; empty when it has none.
std::string systemWords(const SystemCode& code);

// One English line: "cannot write '/x/m.003': No space left on device";
// without a path the reason alone; without a reason the number's meaning.
std::string describe(const RuntimeError& error);

}  // namespace tessark::cli
