// SPDX-License-Identifier: MIT
#include "engine/merge/piece_set.h"

#include <algorithm>
#include <limits>

#include "engine/checksum/set_checksums.h"
#include "engine/core/file_system.h"

namespace tessark {

bool isPieceNumber(TextView digits) {
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char16_t c) {
        return c >= u'0' && c <= u'9';
    }) && digits.find_first_not_of(u'0') != TextView::npos;
}

namespace {

constexpr std::int64_t kTooLong = std::numeric_limits<std::int64_t>::max();

// A piece number as found after the name's fixed part: all digits, not all
// zeros. Ordered by its digits without leading zeros, by length and then
// digit by digit, so no number is too long to order.
struct Found {
    Text name;
    Text digits;  // without leading zeros
};

bool byPieceNumber(const Found& a, const Found& b) {
    if (a.digits.size() != b.digits.size()) {
        return a.digits.size() < b.digits.size();
    }
    return a.digits < b.digits;
}

std::int64_t numberOf(TextView digits) {
    if (digits.size() > 18) {
        return kTooLong;
    }
    std::int64_t n = 0;
    for (const char16_t c : digits) {
        n = n * 10 + (c - u'0');
    }
    return n;
}

// The output name proposed for the set whose first piece is `chosen`: the
// split's target without its "$" (movie$.avi.001 gives movie.avi), or the
// chosen name without its last extension. Where neither can be formed (no "."
// at all, or the last "$" after the last "."), the chosen name without its
// piece number and any "." left at its end.
void proposeOutput(PieceSet& set, const Text& chosen) {
    const std::size_t dollar = lastIndexOf(chosen, u'$');
    const std::size_t dot = lastIndexOf(chosen, u'.');
    const bool hasDollar = dollar != Text::npos;
    if (dot == Text::npos || (hasDollar && dollar > dot)) {
        Text name = chosen.substr(0, chosen.size() - 3);
        while (!name.empty() && name.back() == u'.') {
            name.pop_back();
        }
        set.proposedOutput = std::move(name);
    } else if (hasDollar) {
        set.proposedOutput = chosen.substr(0, dollar) + chosen.substr(dollar + 1, dot - dollar - 1);
    } else {
        set.proposedOutput = chosen.substr(0, dot);
    }
}

// The pieces the checksum file names past the highest member: a missing last
// piece, which the numbers alone cannot show.
void findMissingTail(PieceSet& set, const Text& fixedPart, const SetChecksums& checksums) {
    const std::int64_t highest = set.members.empty() ? 0 : set.members.back().number;
    for (const ChecksumEntry& piece : checksums.pieces) {
        if (set.missing.size() >= kMaxMissing) {
            return;
        }
        TextView digits = TextView(piece.name).substr(fixedPart.size());
        digits.remove_prefix(digits.find_first_not_of(u'0'));
        if (numberOf(digits) > highest) {
            set.missing.push_back(piece.name);
        }
    }
}

// The numbers 1 up to the highest member that no member has, as names.
void findMissing(PieceSet& set, const Text& fixedPart) {
    std::int64_t expected = 1;
    for (const PieceMember& member : set.members) {
        if (member.number < expected) {
            continue;  // the same number spelled with more leading zeros
        }
        if (member.number == kTooLong) {
            break;  // beyond any set that could have been cut
        }
        for (; expected < member.number && set.missing.size() < kMaxMissing; ++expected) {
            set.missing.push_back(fixedPart + pieceSuffix(expected).substr(1));
        }
        if (set.missing.size() >= kMaxMissing) {
            return;
        }
        expected = member.number + 1;
    }
}

}  // namespace

PieceSet findPieceSet(FileSystem& fs, const Text& firstPiece) {
    // Only names made of the chosen name's fixed part and a number greater
    // than 0 count, so "name.txt" and "name.000" are passed over and
    // "name.1000" follows "name.999" whatever order the folder lists them in.
    const char16_t sep = fs.separator();
    const Text stem = firstPiece.substr(0, firstPiece.size() - 3);
    const Text fixedPart = GetFileName(stem, sep);
    const std::size_t lastSep = lastIndexOf(firstPiece, sep);
    const Text folder = lastSep == Text::npos ? Text() : firstPiece.substr(0, lastSep + 1);

    std::vector<Found> found;
    for (Text& name : fs.findFiles(stem + u"*")) {
        if (!name.starts_with(fixedPart)) {
            continue;  // matched through a wildcard character in the name itself
        }
        const TextView digits = TextView(name).substr(fixedPart.size());
        if (isPieceNumber(digits)) {
            Text number(digits.substr(digits.find_first_not_of(u'0')));
            found.push_back({std::move(name), std::move(number)});
        }
    }
    std::stable_sort(found.begin(), found.end(), byPieceNumber);

    PieceSet set;
    set.members.reserve(found.size());
    for (Found& f : found) {
        const std::int64_t number = numberOf(f.digits);
        set.members.push_back({folder + f.name, std::move(f.name), number});
    }
    findMissing(set, fixedPart);
    if (const auto checksums = readSetChecksums(fs, firstPiece)) {
        findMissingTail(set, fixedPart, *checksums);
    }
    proposeOutput(set, firstPiece);
    return set;
}

}  // namespace tessark
