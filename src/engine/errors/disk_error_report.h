// SPDX-License-Identifier: MIT
// The one report of the file-touching actions: a fixed set of disk and file
// error numbers becomes a fixed message; any other number says nothing.
#pragma once

#include <optional>

#include "engine/core/text.h"

namespace tessark {

class MessageBox;

enum class ErrorTable {
    Full,            // the split and the merge
    WithoutNotFound  // the folder picker: 53 says nothing there
};

std::optional<Text> diskErrorMessage(int number, ErrorTable table);

// Shows the message for `number` (style 16, the application title), if any.
void DiskErrorReport(int number, ErrorTable table, MessageBox& messages);

}  // namespace tessark
