// SPDX-License-Identifier: MIT
// Which of the pieces listed for a merge the set's checksum file vouches for,
// and whether the joined file can be checked against its whole-file line.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/checksum/set_checksums.h"
#include "engine/merge/piece_list.h"

namespace tessark {

enum class ChecksumStatus {
    None,          // no checksum file beside the first piece: merge as ever
    Unrecognised,  // there is one, but it cannot be read or parsed
    Matches,       // the list is exactly the file's pieces, in its order
    Differs        // pieces missing, added from elsewhere or reordered
};

// Where a list first departs from the checksum file's pieces.
struct ListDifference {
    std::int64_t index = 0;        // the position, counted from 0
    std::optional<Text> listed;    // the list's piece there; nothing past its end
    std::optional<Text> expected;  // the file's piece there, without folder;
                                   // nothing past the file's last piece
};

// What a merge of a list of pieces checks.
struct MergeChecks {
    ChecksumStatus status = ChecksumStatus::None;
    Text file;  // the checksum file looked for
    // Per listed piece, the digest the file gives it; nothing for a piece it
    // does not name (or all, unless Matches or Differs).
    std::vector<std::optional<Sha256Digest>> pieces;
    // The joined file's digest, whenever the list holds each of the file's
    // pieces once, in whatever order: joined in another order they make
    // another file, which must not pass for the one that was cut.
    std::optional<Sha256Digest> whole;
    std::optional<ListDifference> difference;  // when Differs

    bool any() const;
};

// Matches the list against the checksum file of the set of its first listed
// piece (moved down the list or not, it names the set the user means). A
// listed piece is the file's only when it lies beside the file under a name
// the file gives; the same name in another folder is another file.
MergeChecks matchMergeChecks(const SetChecksumFile& file, const PieceList& pieces,
                             char16_t separator);

}  // namespace tessark
