// SPDX-License-Identifier: MIT
#include "engine/set/piece_set.h"

#include <algorithm>

#include "engine/checksum/hash_file.h"
#include "engine/core/file_system.h"

namespace tessark {

namespace {

struct Found {
    Text name;
    PieceNumber number;
};

// The files of the set's fixed part and a piece number, handed to `visit`
// one at a time. Names matched only through a wildcard character in the name
// itself are passed over.
template <typename Visit>
void walkNumbered(FileSystem& fs, const PieceSet& set, Visit&& visit) {
    fs.forEachFile(set.folder + set.fixedPart + u"*", [&](Text&& name) {
        if (auto number = pieceNumberAfter(name, set.fixedPart)) {
            visit(std::move(name), std::move(*number));
        }
    });
}

void noteMissing(PieceSet& set, Text name) {
    if (set.missing.size() < kMaxMissing) {
        set.missing.push_back(std::move(name));
    }
    ++set.missingCount;
}

// Each listed piece looked up, and the numbered files beside them that the
// list does not hold counted, keeping only the lowest.
void readListed(FileSystem& fs, PieceSet& set) {
    const auto& listed = set.checksums.sums.pieces;
    set.pieces.reserve(listed.size());
    for (const ChecksumEntry& entry : listed) {
        SetPiece piece{entry.name,
                       pieceNumberAfter(entry.name, set.fixedPart)->value,
                       entry.digest,
                       PieceState::Present,
                       0,
                       std::nullopt};
        const Text path = set.pathOf(piece);
        if (fs.kind(path) == FileKind::Regular) {
            piece.length = fs.fileLength(path);
        } else {
            piece.state = PieceState::Missing;
            noteMissing(set, piece.name);
        }
        set.pieces.push_back(std::move(piece));
    }

    // Sorted, not hashed: the names come from a file that travels with the
    // pieces, and no choice of them makes the look-up slow.
    std::vector<TextView> names(listed.size());
    std::transform(listed.begin(), listed.end(), names.begin(),
                   [](const ChecksumEntry& e) { return TextView(e.name); });
    std::sort(names.begin(), names.end());
    std::optional<Found> lowest;
    walkNumbered(fs, set, [&](Text&& name, PieceNumber&& number) {
        if (std::binary_search(names.begin(), names.end(), TextView(name))) {
            return;
        }
        ++set.leftovers.count;
        if (!lowest || number < lowest->number ||
            (number == lowest->number && name < lowest->name)) {
            lowest = Found{std::move(name), std::move(number)};
        }
    });
    if (lowest) {
        set.leftovers.first = std::move(lowest->name);
    }
}

// Whether the set is exactly the numbers 1 to n, each spelled as a split
// names it: then it is held as a count. Each number has one such spelling,
// so n distinct names reaching the highest number n means every number is
// there once.
std::optional<std::int64_t> numberedRun(FileSystem& fs, const PieceSet& set) {
    std::int64_t count = 0;
    std::int64_t highest = 0;
    bool asSplitNamesThem = true;
    walkNumbered(fs, set, [&](Text&& name, PieceNumber&& number) {
        ++count;
        highest = std::max(highest, number.value);
        asSplitNamesThem = asSplitNamesThem && splitSpelling(name, set.fixedPart, number);
    });
    if (!asSplitNamesThem || count == 0 || count != highest) {
        return std::nullopt;
    }
    return count;
}

// Every numbered file, in number order, and the numbers below the highest
// that none has.
void readNumbered(FileSystem& fs, PieceSet& set) {
    if (const auto run = numberedRun(fs, set)) {
        set.run = *run;
        return;
    }
    std::vector<Found> found;
    walkNumbered(fs, set, [&](Text&& name, PieceNumber&& number) {
        found.push_back({std::move(name), std::move(number)});
    });
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.number < b.number; });
    set.pieces.reserve(found.size());
    std::int64_t expected = 1;
    for (Found& f : found) {
        // The same number spelled with more leading zeros is no gap, and no
        // gap is counted up to a number beyond any set that could be cut.
        const std::int64_t n = f.number.value;
        if (n != kPieceNumberTooLong && n > expected) {
            for (std::int64_t k = expected; k < n && set.missing.size() < kMaxMissing; ++k) {
                set.missing.push_back(set.fixedPart + pieceSuffix(k).substr(1));
            }
            set.missingCount += n - expected;
        }
        if (n != kPieceNumberTooLong) {
            expected = std::max(expected, n + 1);
        }
        set.pieces.push_back({std::move(f.name), n, std::nullopt, PieceState::Present, 0, {}});
    }
}

// One file against its digest; nothing when the run was asked to stop.
std::optional<PieceState> hashAgainst(FileSystem& fs, const Text& path, const Sha256Digest& digest,
                                      Progress& progress, const ProgressFn& report,
                                      std::optional<RuntimeError>& error) {
    try {
        const auto got = hashFile(fs, path, progress, report);
        if (!got) {
            return std::nullopt;
        }
        return *got == digest ? PieceState::Matches : PieceState::Damaged;
    } catch (const RuntimeError& e) {
        error = e;
        return PieceState::Unreadable;
    }
}

void hashSet(FileSystem& fs, PieceSet& set, const SetReadOptions& options) {
    const bool joinedThere = options.joined && fs.kind(*options.joined) == FileKind::Regular;
    Progress progress{0, 0, 0, static_cast<std::int64_t>(set.pieces.size())};
    for (const SetPiece& piece : set.pieces) {
        progress.bytesTotal += piece.state == PieceState::Present ? piece.length : 0;
    }
    if (joinedThere) {
        progress.bytesTotal += fs.fileLength(*options.joined);
    }
    set.hashing = SetHashing::Stopped;
    for (SetPiece& piece : set.pieces) {
        if (piece.state == PieceState::Present && piece.expected) {
            const auto state = hashAgainst(fs, set.pathOf(piece), *piece.expected, progress,
                                           options.progress, piece.error);
            if (!state) {
                return;
            }
            piece.state = *state;
        }
        ++progress.piecesDone;
    }
    if (options.joined) {
        std::optional<RuntimeError> error;
        set.joined = joinedThere ? hashAgainst(fs, *options.joined, set.whole()->digest, progress,
                                               options.progress, error)
                                 : PieceState::Missing;
        if (!set.joined) {
            return;
        }
    }
    set.hashing = SetHashing::Done;
}

}  // namespace

std::int64_t PieceSet::size() const {
    return run > 0 ? run : static_cast<std::int64_t>(pieces.size());
}

PieceList PieceSet::present() const {
    if (run > 0) {
        return PieceList::numbered(firstPiece, run);
    }
    PieceList list;
    list.reserve(pieces.size());
    for (const SetPiece& piece : pieces) {
        if (piece.state != PieceState::Missing) {
            list.push_back(pathOf(piece));
        }
    }
    return list;
}

std::vector<Text> pieceNames(const PieceSet& set) {
    std::vector<Text> names;
    if (set.run > 0) {
        const PieceList run = PieceList::numbered(set.firstPiece, set.run);
        names.reserve(static_cast<std::size_t>(set.run));
        for (std::int64_t i = 0; i < set.run; ++i) {
            names.push_back(run[i].substr(set.folder.size()));
        }
        return names;
    }
    names.reserve(set.pieces.size());
    for (const SetPiece& piece : set.pieces) {
        names.push_back(piece.name);
    }
    return names;
}

PieceSet readPieceSet(FileSystem& fs, const Text& firstPiece, const SetReadOptions& options) {
    const char16_t sep = fs.separator();
    PieceSet set;
    set.firstPiece = firstPiece;
    set.folder = folderPart(firstPiece, sep).value_or(Text());
    if (!set.folder.empty() || firstPiece.starts_with(sep)) {
        set.folder += sep;
    }
    set.fixedPart = fixedPartOf(firstPiece, sep);
    set.proposedOutput = proposedOutputOf(firstPiece);
    set.checksums = readSetChecksumFile(fs, firstPiece, options.stop);
    // "m.sha256" lists the pieces "m.001", "m.002", ...: it is not the
    // checksum file of a set whose first piece is "m.0001" or "m.5001".
    if (set.checksums.status != ChecksumFileStatus::None &&
        GetFileName(*targetOfPiece(firstPiece), sep) + u"." != set.fixedPart) {
        set.checksums = {};
    }
    if (set.listed()) {
        readListed(fs, set);
    } else {
        readNumbered(fs, set);
    }
    if (options.hash && set.listed() && (!options.joined || set.whole())) {
        hashSet(fs, set, options);
    }
    return set;
}

}  // namespace tessark
