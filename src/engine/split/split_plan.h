// SPDX-License-Identifier: MIT
// The split as values: a request is checked into a refusal or a plan, and the
// plan is run through a file system. No window is involved; the window's
// Start split and the command line are front ends over these.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "engine/core/progress.h"
#include "engine/core/refusal.h"
#include "engine/core/text.h"

namespace tessark {

class FileSystem;

// The block: the fixed 1.44M block, a number of bytes, or the custom size as
// typed in the window (kilobytes, blanks and trailing text allowed).
struct BlockSize {
    enum class Kind { Floppy, Bytes, TypedKilobytes };
    Kind kind = Kind::Floppy;
    std::int64_t bytes = 0;
    Text typed;

    static BlockSize floppy() { return {}; }
    static BlockSize ofBytes(std::int64_t n) { return {Kind::Bytes, n, {}}; }
    static BlockSize typedKilobytes(Text text) {
        return {Kind::TypedKilobytes, 0, std::move(text)};
    }
};

struct SplitRequest {
    Text source;  // both names are trimmed of surrounding spaces
    Text target;
    BlockSize block;
    bool writeScript = true;
    // Write TARGET.sha256 (the pieces' and the whole file's digests) last.
    bool writeChecksum = false;
    // Recovery slices to write after the checksum file, in TARGET.par2 and
    // TARGET.vol0+1.par2 ...: that many lost or damaged pieces can be rebuilt.
    int recoverySlices = 0;
};

// The checks, in the order they are made.
enum class SplitCheck {
    NoSource,             // empty source name
    SourceIsFolder,       // the source name ends with a separator
    SourceMissing,        // no file there
    NoTarget,             // empty target name
    TargetIsFolder,       // the target ends with a separator
    TargetExists,         // a file has the target's own name
    TargetFolderMissing,  // no folder part, or the folder does not exist
    UnsafeScriptName,     // the target's name cannot be quoted in Link.bat
    NoBlockSize,          // empty custom size, or one of no bytes
    BlockLargerThanFile,  // the block is larger than the file
    TargetIsSource,       // a piece, Link.bat or the checksum file would be the source itself
    TargetNotAFile,       // one of those names is taken by a device, pipe or folder
    TooManyForChecksum    // the checksum file would be too large to be read back
};

using SplitRefusal = Refusal<SplitCheck>;

// Whether the split writes recovery files.
enum class SplitRecovery {
    Off,           // none asked for
    On,            // TARGET.par2 and its volumes, one slice per piece
    TooManyPieces  // asked for, but a set of more than 32,768 pieces cannot have them
};

struct PlannedPiece {
    Text name;  // full path
    std::int64_t offset = 0;
    std::int64_t size = 0;
};

// The pieces are not held but named on demand from the target, the block and
// the length, so a plan of a million pieces is as small as a plan of two.
struct SplitPlan {
    Text source;
    Text target;
    std::int64_t length = 0;
    std::int64_t block = 0;
    Text scriptPath;  // Link.bat beside the pieces
    Text mergeName;   // the output name the script and the window propose
    bool writeScript = true;
    Text checksumPath;  // TARGET.sha256
    bool writeChecksum = false;
    SplitRecovery recovery = SplitRecovery::Off;
    std::uint32_t recoverySlices = 0;  // when On

    // TARGET.par2 and the volumes when the split writes recovery files.
    std::vector<Text> recoveryPaths() const;

    std::int64_t pieceCount() const;
    // The piece at 0-based `index` (named TARGET.001 for index 0).
    PlannedPiece piece(std::int64_t index) const;
    // What Link.bat will hold; empty without a script. Built whole: the run
    // writes the same bytes line by line instead.
    std::string scriptBytes(FileSystem& fs) const;
};

// Makes the window's checks in their order; reads the disk but changes nothing.
// Throws RuntimeError when the disk cannot be read.
std::variant<SplitRefusal, SplitPlan> planSplit(FileSystem& fs, const SplitRequest& request);

// Cuts the pieces, each opened so that it can never be the source, then
// computes the recovery files (staged, from the pieces just written), writes
// the script, the checksum file, whose lines are staged as the pieces are
// cut, and last puts the recovery files in place. A stop, also while the
// recovery files are computed (the progress then stays at its end), removes
// every piece file the run created and writes none of the others; piece files
// that were there before stay, save the one being written. An error removes
// the piece being written, keeps the complete ones (the window lists them, and
// its report says the split failed) and writes none of the others. Throws
// RuntimeError on failure.
RunOutcome runSplit(FileSystem& fs, const SplitPlan& plan, const ProgressFn& progress);

}  // namespace tessark
