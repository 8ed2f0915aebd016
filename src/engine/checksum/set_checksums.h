// SPDX-License-Identifier: MIT
// What the checksum file beside a set's first piece says about the set, and
// which of the pieces listed for a merge it can vouch for.
#pragma once

#include <optional>
#include <vector>

#include "engine/checksum/checksum_file.h"
#include "engine/merge/piece_list.h"

namespace tessark {

class FileSystem;

struct SetChecksums {
    std::vector<ChecksumEntry> pieces;   // in file order
    std::optional<ChecksumEntry> whole;  // the joined file, its last line
};

// The checksum file of the set a piece belongs to: "folder/m.sha256" for
// "folder/m.001" or "folder/m.003"; nothing for a name that does not end in a
// "." and a piece number.
std::optional<Text> checksumFileOf(const Text& piece);

// Tells the pieces (names made of `fixedPart`, "m.", and a piece number) from
// the whole file, the last line when it names no piece. Nothing when another
// line names anything else, or no piece is named.
std::optional<SetChecksums> interpretChecksums(std::vector<ChecksumEntry> entries,
                                               TextView fixedPart);

enum class ChecksumStatus {
    None,          // no checksum file beside the first piece: merge as ever
    Unrecognised,  // there is one, but it cannot be read or parsed
    Matches,       // the list is exactly the file's pieces, in its order
    Differs        // pieces missing, added from elsewhere or reordered
};

// What a merge of a list of pieces checks.
struct MergeChecks {
    ChecksumStatus status = ChecksumStatus::None;
    Text file;  // the checksum file looked for
    // Per listed piece, the digest the file gives it; nothing for a piece it
    // does not name (or all, unless Matches or Differs).
    std::vector<std::optional<Sha256Digest>> pieces;
    // The joined file's digest, only when Matches.
    std::optional<Sha256Digest> whole;

    bool any() const;
};

// Looks for the checksum file of the set of the first listed piece (moved
// down the list or not, it names the set the user means) and matches the
// list against it. Reads the checksum file only, never a piece.
MergeChecks lookUpMergeChecks(FileSystem& fs, const PieceList& pieces, const StopFn& stop = {});

// The checksum file of the set of `firstPiece`, when there is one and it can
// be read as such.
std::optional<SetChecksums> readSetChecksums(FileSystem& fs, const Text& firstPiece);

}  // namespace tessark
