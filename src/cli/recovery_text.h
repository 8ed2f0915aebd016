// SPDX-License-Identifier: MIT
// How tessark-cli words what recovery data can do for a set, the same in
// `merge`, `verify` and `repair`.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_rebuild.h"

namespace tessark::cli {

// "not enough recovery data: 2 slices are needed, there are 1"
std::string notEnoughText(const recovery::RecoveryCheck& check);

// "m.par2, m.vol0+1.par2": the recovery files the check used (the first few).
std::string usedFilesText(const recovery::RecoveryCheck& check);

// Writes a line to standard error for each .par2 file that was passed over,
// or used with damaged packets left out. Files of other sets go unmentioned.
void noteRecoveryFiles(const recovery::RecoveryCheck& check);

// The first of `pieces` (indexes into check.pieces) that the recovery data
// does not describe as lost: it cannot rebuild that one.
std::optional<std::size_t> notRebuildable(const recovery::RecoveryCheck& check,
                                          const std::vector<std::size_t>& pieces);

// Why a rebuild that was not Rebuilt ended so.
std::string rebuildFailureText(recovery::RebuildOutcome outcome,
                               const recovery::RecoveryCheck& check);

}  // namespace tessark::cli
