// SPDX-License-Identifier: MIT
#include "engine/checksum/set_checksums.h"

#include <algorithm>
#include <unordered_map>

#include "engine/core/file_system.h"
#include "engine/merge/piece_set.h"

namespace tessark {

namespace {

bool namesPiece(const Text& name, TextView fixedPart) {
    return name.starts_with(fixedPart) && isPieceNumber(TextView(name).substr(fixedPart.size()));
}

// Where the number of a piece "folder/m.003" begins, after its last ".";
// nothing when the name does not end in a dot and a piece number.
std::optional<std::size_t> numberStart(TextView piece) {
    const std::size_t dot = piece.find_last_of(u'.');
    if (dot == TextView::npos || !isPieceNumber(piece.substr(dot + 1))) {
        return std::nullopt;
    }
    return dot + 1;
}

// The fixed part of a piece's name: "m." for "folder/m.003".
Text fixedPartOf(const Text& piece, char16_t separator) {
    const Text name = GetFileName(piece, separator);
    return name.substr(0, *numberStart(name));
}

}  // namespace

bool MergeChecks::any() const {
    return whole || std::any_of(pieces.begin(), pieces.end(),
                                [](const auto& digest) { return digest.has_value(); });
}

std::optional<Text> checksumFileOf(const Text& piece) {
    const auto number = numberStart(piece);
    if (!number) {
        return std::nullopt;
    }
    return checksumPath(piece.substr(0, *number - 1));
}

std::optional<SetChecksums> interpretChecksums(std::vector<ChecksumEntry> entries,
                                               TextView fixedPart) {
    SetChecksums set;
    if (!entries.empty() && !namesPiece(entries.back().name, fixedPart)) {
        set.whole = std::move(entries.back());
        entries.pop_back();
    }
    if (entries.empty() || !std::all_of(entries.begin(), entries.end(), [&](const auto& e) {
            return namesPiece(e.name, fixedPart);
        })) {
        return std::nullopt;
    }
    set.pieces = std::move(entries);
    return set;
}

std::optional<SetChecksums> readSetChecksums(FileSystem& fs, const Text& firstPiece) {
    const auto file = checksumFileOf(firstPiece);
    if (!file || !fs.fileExists(*file)) {
        return std::nullopt;
    }
    auto entries = readChecksumFile(fs, *file);
    if (!entries) {
        return std::nullopt;
    }
    return interpretChecksums(std::move(*entries), fixedPartOf(firstPiece, fs.separator()));
}

MergeChecks lookUpMergeChecks(FileSystem& fs, const PieceList& pieces, const StopFn& stop) {
    MergeChecks checks;
    const auto file = pieces.empty() ? std::nullopt : checksumFileOf(pieces[0]);
    if (!file || !fs.fileExists(*file)) {
        return checks;
    }
    checks.file = *file;
    const char16_t sep = fs.separator();
    auto entries = readChecksumFile(fs, *file, stop);
    const auto set = entries ? interpretChecksums(std::move(*entries), fixedPartOf(pieces[0], sep))
                             : std::nullopt;
    if (!set) {
        checks.status = ChecksumStatus::Unrecognised;
        return checks;
    }

    // A listed piece is the file's when it lies beside the file under a name
    // the file gives; the same name in another folder is another file.
    std::unordered_map<TextView, std::size_t> byName;
    byName.reserve(set->pieces.size());
    for (std::size_t i = 0; i < set->pieces.size(); ++i) {
        byName.emplace(set->pieces[i].name, i);
    }
    const auto folder = folderPart(*file, sep);
    const auto count = static_cast<std::size_t>(pieces.size());
    bool exact = count == set->pieces.size();
    checks.pieces.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Text piece = pieces[static_cast<std::int64_t>(i)];
        const auto found =
            folderPart(piece, sep) == folder ? byName.find(GetFileName(piece, sep)) : byName.end();
        if (found == byName.end()) {
            checks.pieces.emplace_back();
            exact = false;
            continue;
        }
        checks.pieces.emplace_back(set->pieces[found->second].digest);
        exact = exact && found->second == i;
    }
    checks.status = exact ? ChecksumStatus::Matches : ChecksumStatus::Differs;
    if (exact && set->whole) {
        checks.whole = set->whole->digest;
    }
    return checks;
}

}  // namespace tessark
