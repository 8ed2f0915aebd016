// SPDX-License-Identifier: MIT
#include "repaired_merge.h"

#include <algorithm>

namespace tessark::bench {

// For now two steps: `tessark-cli repair` rebuilds the lost piece in place,
// then the engine's checked merge joins the set (every SHA-256 checked).
//
// SWAP HERE: once src/engine/merge/merge_repair.h is on main, this body
// becomes one child process that plans the merge with its checksum file and
// calls runRepairedMerge, which writes the rebuilt bytes straight into the
// output (the piece then stays missing: drop it from the row's outputs, or
// keep it there, as removing a missing file does nothing). Memory then comes
// from that one child, above idle, like the other engine rows.
Timing runRepairedMerge(const std::vector<std::string>& pieces, const std::string& output,
                        CopyPath copy) {
    const ToolRun repair = runTool({TESSARK_CLI_PATH, "repair", "-q", pieces.front()}, "/dev/null");
    const OurRun merge = runOurMerge(pieces, output, copy, Sums::With);
    return {repair.seconds + merge.seconds, repair.cpuSeconds + merge.cpuSeconds,
            std::max(repair.peakKiB, merge.peakAboveIdleKiB)};
}

}  // namespace tessark::bench
