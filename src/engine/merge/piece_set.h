// SPDX-License-Identifier: MIT
// The pieces that belong to a first piece: what Add lists when a ".001" is
// chosen, the pieces missing from it, and the output name it proposes.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/text.h"

namespace tessark {

class FileSystem;

struct PieceMember {
    Text path;            // the folder of the chosen piece and `name`
    Text name;            // without folder
    std::int64_t number;  // the piece number; INT64_MAX when too long to count
};

struct PieceSet {
    std::vector<PieceMember> members;  // in piece-number order
    // Names (without folder) of missing pieces, "x.004": numbers below the
    // highest member that no member has, then the pieces past the highest
    // member that the set's checksum file names; the first ones, at most
    // kMaxMissing.
    std::vector<Text> missing;
    Text proposedOutput;  // the merge output Add proposes
};

inline constexpr std::size_t kMaxMissing = 100;

// Whether `digits` is a piece number: all digits, not all zeros.
bool isPieceNumber(TextView digits);

// `firstPiece` is a full path ending in "001". Reads the folder and the set's
// checksum file, never a piece. Throws RuntimeError when the folder cannot be
// read.
PieceSet findPieceSet(FileSystem& fs, const Text& firstPiece);

}  // namespace tessark
