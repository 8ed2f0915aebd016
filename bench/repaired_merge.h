// SPDX-License-Identifier: MIT
// The merge that rebuilds what is lost: a set with a missing piece joined
// into one file, the lost bytes rebuilt from the recovery files beside the
// pieces, every piece's and the whole file's SHA-256 checked.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "contest.h"
#include "runners.h"

namespace tessark::bench {

// Joins the set `pieces` (in its order, its checksum file and recovery files
// beside them; the one at `lost` missing) into `output`, rebuilding the
// missing piece and checking every SHA-256. Throws unless the output is
// complete and checked. The missing piece may be left rebuilt in place:
// callers count it among the outputs.
Timing timeRepairedMerge(const std::vector<std::string>& pieces, std::size_t lost,
                         const std::string& output, CopyPath copy);

}  // namespace tessark::bench
