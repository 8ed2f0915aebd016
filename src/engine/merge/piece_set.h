// SPDX-License-Identifier: MIT
// The pieces that belong to a first piece: what Add lists when a ".001" is
// chosen, the pieces missing from it, and the output name it proposes.
#pragma once

#include <cstdint>
#include <optional>
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

// Whether `name` is the first piece of a set: it ends in "001", and choosing
// it brings the whole set.
bool isFirstPiece(TextView name);

// Whether `digits` is a piece number: all digits, not all zeros.
bool isPieceNumber(TextView digits);

// `firstPiece` is a full path ending in "001". Reads the folder and the set's
// checksum file, never a piece. Throws RuntimeError when the folder cannot be
// read.
PieceSet findPieceSet(FileSystem& fs, const Text& firstPiece);

// How many pieces the set of `firstPiece` has when they are exactly the
// numbers 1 to n, each spelled as a split names it: such a set is the
// PieceList::numbered run of its first piece, and nothing is missing from
// it. Nothing for any other set (gaps, other spellings, empty, or pieces its
// checksum file names beyond the last). The folder is walked without holding
// its names. Throws RuntimeError like findPieceSet.
std::optional<std::int64_t> countNumberedSet(FileSystem& fs, const Text& firstPiece);

// The merge output proposed for the set of `firstPiece`, as findPieceSet
// proposes it.
Text proposedOutputOf(const Text& firstPiece);

}  // namespace tessark
