// SPDX-License-Identifier: MIT
// The one report of the file-touching actions in a window: the disk error
// table's message in a box, and the full story on standard error.
#pragma once

#include <string>

#include "engine/core/runtime_error.h"
#include "forms/disk_error_report.h"

namespace tessark {

class MessageBox;

// Shows the message for `number` (style 16, the application title), if any.
void DiskErrorReport(int number, ErrorTable table, MessageBox& messages);

// The window's one line about a run-time error for standard error: the
// number, the file and the system's code ("运行时错误 61：/x/m.003（errno 28）").
// The box shows the words; this line is for whoever reads the log.
std::string errorLine(const RuntimeError& error);

// For use inside a catch block: writes errorLine (or the exception's own text)
// to standard error after "tessark: " and shows the table's message for its
// number.
void reportCurrentError(ErrorTable table, MessageBox& messages);

}  // namespace tessark
