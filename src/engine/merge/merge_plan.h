// SPDX-License-Identifier: MIT
// The merge as values: a request is checked into a refusal or a plan, and the
// plan is run through a file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>

#include "engine/checksum/set_checksums.h"
#include "engine/core/progress.h"
#include "engine/core/refusal.h"
#include "engine/core/text.h"
#include "engine/merge/merge_checks.h"
#include "engine/merge/piece_list.h"

namespace tessark {

class FileSystem;
class StagedFile;

struct MergeRequest {
    Text output;  // trimmed of surrounding spaces
    PieceList pieces;
    // Look for the first piece's checksum file and check what it vouches for.
    bool verify = false;
    // The first piece's checksum file as the set was read with it
    // (readPieceSet): used as it is rather than read again.
    std::optional<SetChecksumFile> checksums = std::nullopt;
    // Asked while the checksum file is read (ReadStopped ends the planning).
    StopFn stop = {};
};

// The checks, in the order they are made.
enum class MergeCheck {
    NoOutput,             // empty output name
    OutputIsFolder,       // the output ends with a separator
    OutputFolderMissing,  // no folder part, or the folder does not exist
    NoPieces,             // nothing to join
    OutputNotAFile        // the output, or what its link leads to, is a device, pipe or folder
};

using MergeRefusal = Refusal<MergeCheck>;

struct MergePlan {
    Text output;
    PieceList pieces;
    bool replacesExisting = false;  // a front end asks before replacing it
    // What the run checks; a front end asks first when the checksum file is
    // unrecognised or differs from the list, and clears it to merge unchecked.
    MergeChecks checks;
    // The checksum file as it was read for the checks: the set that recovery
    // data rebuilds when a piece is damaged or missing.
    SetChecksumFile checksumFile;
};

// What a merge found. Whatever it is, unless Joined, the output was left as it
// was and no staging file stays behind.
enum class MergeResult {
    Joined,
    PieceDamaged,  // a checked piece is not what the checksum file says
    WholeDiffers,  // the joined bytes are not the whole file the checksum file names
    Stopped        // the progress callback asked to stop
};

struct MergeOutcome {
    MergeResult result = MergeResult::Joined;
    std::optional<std::int64_t> piece;  // PieceDamaged: its index in the plan's list
};

// Makes the window's checks in their order; reads the disk but changes nothing.
std::variant<MergeRefusal, MergePlan> planMerge(FileSystem& fs, const MergeRequest& request);

// The pieces' length in all. Throws the RuntimeError of the first piece that
// cannot be measured (not there: 53 or 76, with its path).
std::int64_t measurePieces(FileSystem& fs, const PieceList& pieces);

// Joins the pieces byte for byte, in order, into a staged file that takes the
// output's place only when complete: a stop or an error leaves the old output
// as it was, and a piece that cannot be measured fails before anything is
// written. Stops as soon as a checked piece, or the whole, differs from its
// digest, and says so in the outcome. Throws RuntimeError on failure. Without
// checks the bytes go by the kernel's copy, as fast as ever.
MergeOutcome runMerge(FileSystem& fs, const MergePlan& plan, const ProgressFn& progress);

// runMerge into `staged`, made by the caller for plan.output beforehand.
// Making it clears the output's folder of temporary files that nobody holds:
// a caller that writes temporary files of its own there, to be joined, makes
// it first.
MergeOutcome runMergeInto(FileSystem& fs, const MergePlan& plan, StagedFile& staged,
                          const ProgressFn& progress);

}  // namespace tessark
