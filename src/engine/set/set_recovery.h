// SPDX-License-Identifier: MIT
// What the recovery data beside a set can do for it, filled into the set's
// value: whether any describes its pieces, how many slices are lost and how
// many recovery slices there are to rebuild them.
#pragma once

#include <optional>

#include "engine/core/progress.h"
#include "engine/recovery/par2_check.h"
#include "engine/set/piece_set.h"

namespace tessark {

class FileSystem;

// Looks at the recovery files beside `set` and fills in `set.recovery`. A
// piece that was hashed and matched, or that is there and was not hashed, is
// taken as sound and not read: Add asks only what the recovery files can do
// for the pieces that are missing, and a merge finds damage as it joins.
// Returns the check (nothing when `report` asked to stop).
std::optional<recovery::RecoveryCheck> lookUpRecovery(FileSystem& fs, PieceSet& set,
                                                      const ProgressFn& report = {});

}  // namespace tessark
