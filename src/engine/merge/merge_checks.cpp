// SPDX-License-Identifier: MIT
#include "engine/merge/merge_checks.h"

#include <algorithm>
#include <utility>

namespace tessark {

namespace {

// The file's pieces by name, sorted rather than hashed: the names come from
// a file that travels with the pieces, and no choice of them makes the
// look-up slow.
class PieceIndex {
  public:
    explicit PieceIndex(const std::vector<ChecksumEntry>& pieces) {
        byName_.reserve(pieces.size());
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            byName_.emplace_back(pieces[i].name, i);
        }
        std::sort(byName_.begin(), byName_.end());
    }
    std::optional<std::size_t> find(TextView name) const {
        const auto at = std::lower_bound(byName_.begin(), byName_.end(),
                                         std::pair<TextView, std::size_t>(name, 0));
        if (at == byName_.end() || at->first != name) {
            return std::nullopt;
        }
        return at->second;
    }

  private:
    std::vector<std::pair<TextView, std::size_t>> byName_;
};

}  // namespace

bool MergeChecks::any() const {
    return whole || std::any_of(pieces.begin(), pieces.end(),
                                [](const auto& digest) { return digest.has_value(); });
}

MergeChecks matchMergeChecks(const SetChecksumFile& file, const PieceList& pieces, char16_t sep) {
    MergeChecks checks;
    checks.file = file.path;
    switch (file.status) {
        case ChecksumFileStatus::None:
            return checks;
        case ChecksumFileStatus::Unreadable:
            checks.status = ChecksumStatus::Unrecognised;
            return checks;
        case ChecksumFileStatus::Read:
            break;
    }
    constexpr std::size_t kNotListed = static_cast<std::size_t>(-1);
    const auto& listed = file.sums.pieces;
    const PieceIndex index(listed);
    const auto folder = folderPart(file.path, sep);
    const auto count = static_cast<std::size_t>(pieces.size());
    std::vector<bool> seen(listed.size());
    bool each = count == listed.size();  // every piece of the file once
    checks.pieces.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Text piece = pieces[static_cast<std::int64_t>(i)];
        const Text name = GetFileName(piece, sep);
        // A plain index (npos: not the file's piece) rather than an optional:
        // GCC 12 at -O3 takes an optional chosen by ?: for uninitialised.
        std::size_t found = kNotListed;
        if (folderPart(piece, sep) == folder) {
            found = index.find(name).value_or(kNotListed);
        }
        if (!checks.difference && found != i) {
            checks.difference =
                ListDifference{static_cast<std::int64_t>(i), piece,
                               i < listed.size() ? std::optional(listed[i].name) : std::nullopt};
        }
        if (found == kNotListed) {
            checks.pieces.emplace_back();
            each = false;
            continue;
        }
        checks.pieces.emplace_back(listed[found].digest);
        each = each && !seen[found];
        seen[found] = true;
    }
    if (!checks.difference && count < listed.size()) {
        checks.difference =
            ListDifference{static_cast<std::int64_t>(count), std::nullopt, listed[count].name};
    }
    checks.status = checks.difference ? ChecksumStatus::Differs : ChecksumStatus::Matches;
    if (each && file.sums.whole) {
        checks.whole = file.sums.whole->digest;
    }
    return checks;
}

}  // namespace tessark
