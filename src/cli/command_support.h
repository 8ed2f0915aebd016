// SPDX-License-Identifier: MIT
// What the three commands share: paths from the command line, messages on
// standard error, and the progress report that also carries Ctrl+C.
#pragma once

#include <optional>
#include <string>

#include "cli/error_text.h"
#include "cli/progress_line.h"
#include "engine/core/progress.h"
#include "engine/core/runtime_error.h"
#include "engine/core/text.h"

namespace tessark {
struct PieceSet;
}

namespace tessark::cli {

// A path as typed, made absolute against the current folder: the engine
// needs a folder part in every name.
Text absolutePath(const std::string& typed);

// The first piece of the set a typed piece belongs to (any piece names its
// set), made absolute; nothing, after saying so, for a name that is not a
// piece.
std::optional<Text> firstPieceOf(const std::string& typed);

// Writes "tessark-cli: MESSAGE" and a line end to standard error.
void complain(const std::string& message);
// complain(), and the exit status of a failure.
int fail(const std::string& message);

// "29979 files such as movie$.avi.022 are not in movie$.avi.sha256": the
// numbered files beside a set that its checksum file leaves out; empty when
// there are none.
std::string leftoversText(const PieceSet& set, char16_t separator);

// Draws the progress line on a terminal unless `quiet`.
ProgressLine progressLineFor(bool quiet);
// Reports to `line` and asks the run to stop once Ctrl+C was pressed.
ProgressFn reportTo(ProgressLine& line);

}  // namespace tessark::cli
