// SPDX-License-Identifier: MIT
// The window's disk error table: a fixed set of the engine's run-time error
// numbers becomes a fixed message; any other number says nothing.
#pragma once

#include <optional>

#include "engine/core/text.h"

namespace tessark {

enum class ErrorTable {
    Full,            // the split and the merge
    WithoutNotFound  // the folder picker: 53 says nothing there
};

std::optional<Text> diskErrorMessage(int number, ErrorTable table);

}  // namespace tessark
