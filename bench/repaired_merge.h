// SPDX-License-Identifier: MIT
// The merge that rebuilds what is lost: a set with a missing or damaged piece
// joined into one file, the lost bytes rebuilt from the recovery files beside
// the pieces, every piece's and the whole file's SHA-256 checked.
#pragma once

#include <string>
#include <vector>

#include "contest.h"
#include "runners.h"

namespace tessark::bench {

// Joins `pieces` (the first one named FIRST.001, its checksum file and
// recovery files beside them) into `output`, rebuilding a missing or damaged
// piece. Throws unless the output is complete and checked. A missing piece
// may be left rebuilt in place: callers count it among the outputs.
Timing runRepairedMerge(const std::vector<std::string>& pieces, const std::string& output,
                        CopyPath copy);

}  // namespace tessark::bench
