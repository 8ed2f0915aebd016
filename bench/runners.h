// SPDX-License-Identifier: MIT
// One timed run of each contestant, each in a new process: our split and merge
// actions, driven through the engine exactly as the window drives them, and a
// command-line tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessark::bench {

struct Block {
    std::string label;      // "1.44M", "1 GiB"
    std::int64_t bytes;     // bytes per piece
    std::string kilobytes;  // the custom size as typed, empty for the fixed block
};

struct OurRun {
    double seconds;
    double cpuSeconds;  // user + system
    // Peak resident memory during the run above the resident memory just
    // before it, in KiB; -1 when the system does not say.
    std::int64_t peakAboveIdleKiB;
};

struct ToolRun {
    double seconds;
    double cpuSeconds;  // user + system of the child
};

// How our runs copy: the program's own way (the kernel's copy where the file
// system has it), or always through the read/write buffer it falls back to.
enum class CopyPath { Native, Buffered };

// Splits `source` into target.001, target.002, ... with the split action, its
// questions answered Yes. Throws unless it reported success with the expected
// number of pieces.
OurRun runOurSplit(const std::string& source, const std::string& target, const Block& block,
                   std::int64_t expectedPieces, CopyPath path);

// Joins `pieces` into `output` with the merge action, its questions answered
// Yes. Throws unless it reported success.
OurRun runOurMerge(const std::vector<std::string>& pieces, const std::string& output,
                   CopyPath path);

// Runs the program with its standard output going to `stdoutPath` (or to ours
// when empty) and waits for it. Throws unless it exits with status 0.
ToolRun runTool(const std::vector<std::string>& argv, const std::string& stdoutPath);

}  // namespace tessark::bench
