// SPDX-License-Identifier: MIT
// A merge that rebuilds what was lost. When pieces of a set are damaged or
// missing and recovery data beside them can rebuild them, the lost pieces are
// rebuilt into temporary files beside the output, and the set is joined in
// its checksum file's order with them in their places, checked piece by piece
// and as a whole as every merge is. The pieces on the disk are not changed.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/core/progress.h"
#include "engine/core/text.h"
#include "engine/merge/merge_plan.h"
#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_rebuild.h"

namespace tessark {

class FileSystem;

// The set a merge would rebuild: the checksum file's pieces, in its order,
// when the merge list is exactly those pieces, or those of them that are
// there, in that order. Nothing for a list the checksum file does not
// describe so (reordered, pieces from elsewhere, no checksum file).
struct RepairSet {
    Text folder;              // without the separator at its end
    std::vector<Text> names;  // the checksum file's pieces, without folder
    // Each piece's place in the merge list; -1 for a missing piece it leaves out.
    std::vector<std::int64_t> listIndex;
};

std::optional<RepairSet> repairSetOf(FileSystem& fs, const MergePlan& plan);

// Which pieces of the set are lost and whether recovery data beside them can
// rebuild them: the recovery files are read, and every piece but those the
// merge list holds before `goodInList` (a merge checked them already). Nothing
// when `report` asked to stop.
std::optional<recovery::RecoveryCheck> checkRepair(FileSystem& fs, const RepairSet& set,
                                                   std::int64_t goodInList,
                                                   const ProgressFn& report);

// The names (without folder) of the pieces `check` finds lost, in set order.
std::vector<Text> lostPieces(const recovery::RecoveryCheck& check);

struct RepairedMerge {
    recovery::RebuildOutcome rebuild = recovery::RebuildOutcome::Rebuilt;
    // Joined only when the rebuild was; a damaged piece is counted in the
    // checksum file's order.
    MergeOutcome merge{MergeResult::Stopped, std::nullopt};
    std::vector<Text> rebuilt;  // the pieces rebuilt, without folder
};

// Rebuilds the lost pieces of `check` and joins the set into `plan`'s output,
// staged as every merge is. The temporary files go whatever happens. Throws
// RuntimeError as runMerge does.
RepairedMerge runRepairedMerge(FileSystem& fs, const MergePlan& plan, const RepairSet& set,
                               const recovery::RecoveryCheck& check, const ProgressFn& report);

}  // namespace tessark
