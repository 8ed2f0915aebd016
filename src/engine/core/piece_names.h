// SPDX-License-Identifier: MIT
// How pieces are named, in one place: a split names its pieces TARGET.001,
// TARGET.002, ... TARGET.999, TARGET.1000; Add, the merge, the checksum file
// and the windows' drops all read names by these rules.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>

#include "engine/core/text.h"

namespace tessark {

// ".001" ... ".999", then ".1000" and up without leading zeros.
Text pieceSuffix(std::int64_t pieceNumber);
Text pieceName(TextView target, std::int64_t pieceNumber);

// Whether `name` is the first piece of a set: it ends in "001", and choosing
// it brings the whole set.
bool isFirstPiece(TextView name);

// Whether `digits` is a piece number: all digits, not all zeros.
bool isPieceNumber(TextView digits);

// A piece number as read from a name: its digits without leading zeros, and
// their value (kPieceNumberTooLong when too long to count). Ordered by the digits, by
// length first, so no number is too long to order.
struct PieceNumber {
    Text digits;
    std::int64_t value = 0;
    friend bool operator<(const PieceNumber& a, const PieceNumber& b) {
        return a.digits.size() != b.digits.size() ? a.digits.size() < b.digits.size()
                                                  : a.digits < b.digits;
    }
    friend bool operator==(const PieceNumber&, const PieceNumber&) = default;
};

inline constexpr std::int64_t kPieceNumberTooLong = std::numeric_limits<std::int64_t>::max();

// The number of `name` when it is `fixedPart` followed by a piece number
// ("m.0022" after "m."); nothing otherwise.
std::optional<PieceNumber> pieceNumberAfter(TextView name, TextView fixedPart);

// Whether `name` is spelled as a split names the piece numbered `number`.
bool splitSpelling(TextView name, TextView fixedPart, const PieceNumber& number);

// The fixed part every piece of the set of `firstPiece` shares: its name
// without folder and without the final "001" ("m." for "/d/m.001").
Text fixedPartOf(const Text& firstPiece, char16_t separator);

// The split's target of any piece, when the name ends in "." and a piece
// number: "/d/m" for "/d/m.003". It names the set's checksum file.
std::optional<Text> targetOfPiece(TextView piece);

// The number after the last "." of a path ("x.1000" gives 1000); nothing when
// the name does not end in "." and a piece number.
std::optional<PieceNumber> trailingPieceNumber(TextView path);

// The merge output proposed for the set of `firstPiece`: the split's target
// without its "$" (movie$.avi.001 gives movie.avi), or the chosen name
// without its last extension.
Text proposedOutputOf(const Text& firstPiece);

}  // namespace tessark
