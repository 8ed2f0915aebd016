// SPDX-License-Identifier: MIT
// What the recovery files in a folder can do for a set of pieces: which .par2
// files (any name, ours or another client's) describe the pieces, which
// slices of which pieces are sound, damaged or missing, and whether the sound
// recovery slices are enough to rebuild what was lost. All of it a value; the
// front ends word it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/core/progress.h"
#include "engine/core/text.h"
#include "engine/recovery/par2_format.h"

namespace tessark {
class FileSystem;
}

namespace tessark::recovery {

// What became of a .par2 file found in the folder.
enum class FileNote {
    Used,             // it describes the set chosen; its sound packets are used
    Unreadable,       // it could not be read
    NotRecoveryData,  // no sound packet in it
    OtherSet          // sound packets, but of a set that does not describe these pieces
};

struct RecoveryFileReport {
    Text name;  // in the folder
    FileNote note = FileNote::NotRecoveryData;
    int error = 0;                    // the run-time error number when Unreadable
    std::int64_t brokenPackets = 0;   // damaged packets passed over
    bool cutShort = false;            // so damaged that the rest of it was passed over
    std::int64_t recoverySlices = 0;  // sound recovery slices of the set it gave
};

enum class SliceState : std::uint8_t { Good, Damaged, Missing };

// What the caller already knows of a piece: a piece whose SHA-256 matched is
// Good and not read again.
enum class PieceKnown : std::uint8_t { Unknown, Good };

struct PieceReport {
    bool covered = false;  // the set describes it (by name)
    bool present = false;
    std::int64_t expectedLength = 0;  // as the set describes it
    std::int64_t actualLength = 0;
    std::int64_t firstSlice = 0;  // its slices in RecoveryCheck::slices
    std::int64_t sliceCount = 0;
    std::int64_t lostSlices = 0;  // damaged or missing

    // Covered, and not as described: a lost slice or the wrong length.
    bool needsRepair() const {
        return covered && (lostSlices > 0 || actualLength != expectedLength || !present);
    }
};

// A recovery slice's data as it lies on the disk (its packet's hash was right).
struct RecoverySlice {
    Text path;
    std::uint32_t exponent = 0;
    std::int64_t offset = 0;
};

struct RecoveryCheck {
    Text folder;
    std::vector<Text> pieces;  // the names asked about, in the order given
    std::vector<RecoveryFileReport> files;
    bool setFound = false;  // some recovery data describes these pieces
    std::int64_t sliceSize = 0;
    std::vector<PieceReport> pieceReports;  // one per piece asked about
    // Every input slice of the set, in the order the recovery data uses.
    std::vector<SliceState> slices;
    // For each slice, its piece (an index into `pieces`) and place in it.
    std::vector<std::size_t> slicePiece;
    std::vector<std::int64_t> sliceOffset;
    // What each slice should hash to (MD5 and CRC32, padded).
    std::vector<par2::SliceCheck> sliceChecks;
    std::int64_t lostSlices = 0;
    std::vector<RecoverySlice> recovery;  // sound and distinct, by exponent

    std::int64_t recoverySlices() const { return static_cast<std::int64_t>(recovery.size()); }
    // Some piece is not as the set describes it.
    bool anyDamage() const;
    // What was lost can be rebuilt: "need lostSlices, have recoverySlices()".
    bool repairable() const { return setFound && lostSlices <= recoverySlices(); }
};

// Looks at every *.par2 file in `folder` and at the pieces `pieces` (names in
// it, in order). `known` is empty or has one value per piece. Reads the
// recovery files whole and the pieces not known good; adds what it reads to
// `progress` and says nothing when `report` asked to stop. Throws
// RuntimeError only when the folder cannot be listed or a piece cannot be read.
std::optional<RecoveryCheck> checkRecovery(FileSystem& fs, const Text& folder,
                                           const std::vector<Text>& pieces,
                                           std::span<const PieceKnown> known, Progress& progress,
                                           const ProgressFn& report);

}  // namespace tessark::recovery
