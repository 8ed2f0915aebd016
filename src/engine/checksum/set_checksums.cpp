// SPDX-License-Identifier: MIT
#include "engine/checksum/set_checksums.h"

#include <algorithm>

#include "engine/core/file_system.h"
#include "engine/core/piece_names.h"
#include "engine/core/runtime_error.h"

namespace tessark {

std::optional<Text> checksumFileOf(const Text& piece) {
    const auto target = targetOfPiece(piece);
    if (!target) {
        return std::nullopt;
    }
    return checksumPath(*target);
}

std::optional<SetChecksums> interpretChecksums(std::vector<ChecksumEntry> entries,
                                               TextView fixedPart) {
    const auto namesPiece = [&](const ChecksumEntry& e) {
        return pieceNumberAfter(e.name, fixedPart).has_value();
    };
    SetChecksums set;
    if (!entries.empty() && !namesPiece(entries.back())) {
        set.whole = std::move(entries.back());
        entries.pop_back();
    }
    if (entries.empty() || !std::all_of(entries.begin(), entries.end(), namesPiece)) {
        return std::nullopt;
    }
    set.pieces = std::move(entries);
    return set;
}

SetChecksumFile readSetChecksumFile(FileSystem& fs, const Text& piece, const StopFn& stop) {
    SetChecksumFile file;
    const auto path = checksumFileOf(piece);
    if (!path) {
        return file;
    }
    file.path = *path;
    try {
        switch (fs.kind(file.path)) {
            case FileKind::None:
                return file;
            case FileKind::Folder:
            case FileKind::Other:
                file.status = ChecksumFileStatus::Unreadable;
                return file;
            case FileKind::Regular:
                break;
        }
    } catch (const RuntimeError&) {
        file.status = ChecksumFileStatus::Unreadable;  // a loop of links, no access
        return file;
    }
    // "m." for "/d/m.003": the name of the target and its dot.
    const Text fixedPart = GetFileName(*targetOfPiece(piece), fs.separator()) + u".";
    auto entries = readChecksumFile(fs, file.path, stop);
    auto sums = entries ? interpretChecksums(std::move(*entries), fixedPart) : std::nullopt;
    if (!sums) {
        file.status = ChecksumFileStatus::Unreadable;
        return file;
    }
    file.status = ChecksumFileStatus::Read;
    file.sums = std::move(*sums);
    return file;
}

}  // namespace tessark
