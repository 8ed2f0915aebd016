// SPDX-License-Identifier: MIT
// One timed run of each contestant, each in a new process: the engine's split
// and merge run on their own, as the window and tessark-cli run them, and a
// command-line program (tessark-cli itself, or a tool).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessark::bench {

struct Block {
    std::string label;    // "1.44M", "1 GiB"
    std::int64_t bytes;   // bytes per piece
    std::string cliSize;  // the size as tessark-cli's -b takes it
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
    // The child's peak resident memory, in KiB (the whole process, not above
    // an idle state as OurRun's); -1 when the system does not say. Linux
    // carries the spawning process's resident size into it (the spawn shares
    // our memory until the program starts), so it is never below ours.
    std::int64_t peakKiB = -1;
};

// How our runs copy: the program's own way (the kernel's copy where the file
// system has it), or always through the read/write buffer it falls back to.
enum class CopyPath { Native, Buffered };

// With or without the checksum file: written by a split, checked by a merge.
enum class Sums { Without, With };

// Splits `source` into target.001, target.002, ... (and target.sha256 with
// the sums, target.par2 and its volumes with recovery slices) through
// planSplit and runSplit. Throws unless the plan has the expected number of
// pieces and the run completes.
OurRun runOurSplit(const std::string& source, const std::string& target, std::int64_t block,
                   std::int64_t expectedPieces, CopyPath path, Sums sums = Sums::Without,
                   int recoverySlices = 0);

// Joins `pieces` into `output` through planMerge and runMerge. With the sums,
// throws unless the merge found the checksum file and checks every piece and
// the whole. Throws unless the run completes.
OurRun runOurMerge(const std::vector<std::string>& pieces, const std::string& output, CopyPath path,
                   Sums sums = Sums::Without);

// Runs `action` in a new child process and measures it there. The child never
// returns into the caller.
OurRun inChild(const std::function<void()>& action);

// Runs the program with its standard output going to `stdoutPath` (or to ours
// when empty) and waits for it, with `environment` ("NAME=value") added to
// ours. Throws unless it exits with status 0.
ToolRun runTool(const std::vector<std::string>& argv, const std::string& stdoutPath,
                const std::vector<std::string>& environment = {});

}  // namespace tessark::bench
