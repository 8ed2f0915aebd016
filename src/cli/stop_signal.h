// SPDX-License-Identifier: MIT
// Ctrl+C as a request to stop: the running split or merge sees it at its next
// progress report and ends cleanly, leaving nothing partial behind.
#pragma once

namespace tessark::cli {

// Exit status after a stop by Ctrl+C, as a shell reports a process ended by
// SIGINT.
inline constexpr int kStoppedStatus = 130;

// Catches Ctrl+C (SIGINT; the console's Ctrl+C and Ctrl+Break on Windows).
// The first one only sets the flag; on POSIX a second one ends the process
// at once, for a copy stuck in a call that does not return.
void catchStopRequests();

bool stopRequested() noexcept;

}  // namespace tessark::cli
