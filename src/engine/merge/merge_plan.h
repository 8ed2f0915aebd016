// SPDX-License-Identifier: MIT
// The merge as values: a request is checked into a refusal or a plan, and the
// plan is run through a file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <variant>

#include "engine/checksum/set_checksums.h"
#include "engine/core/progress.h"
#include "engine/core/refusal.h"
#include "engine/core/text.h"
#include "engine/merge/piece_list.h"

namespace tessark {

class FileSystem;

struct MergeRequest {
    Text output;  // trimmed of surrounding spaces
    PieceList pieces;
    // Look for the first piece's checksum file and check what it vouches for.
    bool verify = false;
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
};

// A merge stopped because a piece, or the joined file, is not what the
// checksum file says it was. The output was left as it was.
class MergeDamaged : public std::runtime_error {
  public:
    explicit MergeDamaged(std::optional<std::size_t> piece);
    // The index of the listed piece whose digest differs; nothing when every
    // piece matched but the joined file does not.
    std::optional<std::size_t> piece;
};

// Makes the window's checks in their order; reads the disk but changes nothing.
std::variant<MergeRefusal, MergePlan> planMerge(FileSystem& fs, const MergeRequest& request);

// The pieces' length in all. Throws the RuntimeError of the first piece that
// cannot be measured (not there: 53 or 76, with its path).
std::int64_t measurePieces(FileSystem& fs, const PieceList& pieces);

// Joins the pieces byte for byte, in order, into a staged file that takes the
// output's place only when complete: a stop or an error leaves the old output
// as it was, and a piece that cannot be measured fails before anything is
// written. Throws RuntimeError on failure, and MergeDamaged as soon as a
// checked piece, or the whole, differs from its digest. Without checks the
// bytes go by the kernel's copy, as fast as ever.
RunOutcome runMerge(FileSystem& fs, const MergePlan& plan, const ProgressFn& progress);

}  // namespace tessark
