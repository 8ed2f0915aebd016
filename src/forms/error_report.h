// SPDX-License-Identifier: MIT
// The one report of the file-touching actions in a window: the disk error
// table's message in a box, and the full story on standard error.
#pragma once

#include "forms/disk_error_report.h"

namespace tessark {

class MessageBox;

// Shows the message for `number` (style 16, the application title), if any.
void DiskErrorReport(int number, ErrorTable table, MessageBox& messages);

// For use inside a catch block: writes one line about the exception being
// handled to standard error ("tessark: cannot write '/x/m.003': No space left
// on device") and shows the table's message for its number.
void reportCurrentError(ErrorTable table, MessageBox& messages);

}  // namespace tessark
