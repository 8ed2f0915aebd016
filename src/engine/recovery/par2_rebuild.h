// SPDX-License-Identifier: MIT
// Rebuilding the lost slices of a checked set from its recovery slices, in
// bounded memory: the bytes are computed window by window and handed to a
// sink, so that a merge writes them straight into its output and an in-place
// repair into a staged copy of each piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/core/progress.h"
#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_create.h"

namespace tessark::recovery {

// The most slices rebuilt at once: the matrix to invert grows as its square.
inline constexpr std::int64_t kMaxRebuildSlices = 2048;

enum class RebuildOutcome {
    Rebuilt,      // every lost slice was handed to the sink (or none was lost)
    Stopped,      // `report` asked to stop
    NoSet,        // no recovery data describes the pieces
    NotEnough,    // fewer sound recovery slices than lost slices
    TooManyLost,  // more lost slices than kMaxRebuildSlices
    Unsolvable,   // the recovery slices at hand do not determine the lost ones
    WrongResult   // a rebuilt slice does not hash as the set says: the recovery
                  // data changed since the check; what went to the sink is wrong
};

// Receives rebuilt bytes: the piece (an index into RecoveryCheck::pieces),
// the offset in it, the bytes (never beyond the piece's described length).
// Windows of one slice come in order; slices in no particular order.
using RebuildSink =
    std::function<void(std::size_t piece, std::int64_t offset, std::span<const std::byte> bytes)>;

// Reads the sound slices and as many recovery slices as slices were lost, and
// hands every lost byte to `sink`; each rebuilt slice is checked against its
// MD5 and CRC32 at the end (WrongResult when one differs). Memory: 2 x lost slices x a window, the
// windows within kRecoveryMemory. Throws RuntimeError when a file cannot be
// read (error 57 when one is shorter than at the check).
RebuildOutcome rebuildLost(FileSystem& fs, const RecoveryCheck& check, const RebuildSink& sink,
                           Progress& progress, const ProgressFn& report,
                           std::int64_t memory = kRecoveryMemory);

// Copies the sound slices of piece `piece` (as far as its described length)
// to `out` at `outOffset` plus their place in the piece: with the sink's
// bytes at the same places, the piece is whole. False when `report` asked to
// stop.
bool copySoundSlices(FileSystem& fs, const RecoveryCheck& check, std::size_t piece, OutputFile& out,
                     std::int64_t outOffset, Progress& progress, const ProgressFn& report);

struct RepairResult {
    RebuildOutcome outcome = RebuildOutcome::Rebuilt;
    std::vector<std::size_t> repaired;  // pieces written anew, in the set's order
};

// Rebuilds every piece that needsRepair() in place: each is written staged
// (its sound slices copied, its lost ones rebuilt), then a damaged piece is
// renamed NAME.damaged and the new one takes its name. A stop or a failure
// before the renames leaves every piece as it was.
RepairResult repairInPlace(FileSystem& fs, const RecoveryCheck& check, Progress& progress,
                           const ProgressFn& report, std::int64_t memory = kRecoveryMemory);

// "NAME.damaged", beside it.
Text damagedName(const Text& piecePath);

}  // namespace tessark::recovery
