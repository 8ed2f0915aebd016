// SPDX-License-Identifier: MIT
#include "engine/recovery/par2_check.h"

#include <algorithm>
#include <set>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/recovery/par2_sets.h"
#include "engine/recovery/slice_io.h"

namespace tessark::recovery {
namespace {

// The .par2 files of the folder, either case, each once.
std::vector<Text> par2Files(FileSystem& fs, const Text& folder) {
    std::set<Text> names;
    for (const TextView pattern : {TextView(u"*.par2"), TextView(u"*.PAR2")}) {
        for (Text& name : fs.findFiles(folder + fs.separator() + Text(pattern))) {
            names.insert(std::move(name));
        }
    }
    return {names.begin(), names.end()};
}

// Checks each slice of a piece at its place: MD5 and CRC32 of the slice
// padded with zeros. A slice the file does not hold whole is damaged.
bool checkPiece(FileSystem& fs, const Text& path, const par2::DescribedFile& file,
                std::int64_t sliceSize, std::span<SliceState> states, PieceReport& report,
                SliceReader& reader, Progress& progress, const ProgressFn& tell) {
    const auto in = fs.openRead(path);
    for (std::size_t k = 0; k < states.size(); ++k) {
        const std::int64_t start = static_cast<std::int64_t>(k) * sliceSize;
        const std::int64_t real = std::min(sliceSize, file.length - start);
        if (report.actualLength < start + real) {
            states[k] = SliceState::Damaged;
            continue;
        }
        const auto check = reader.checkOf(*in, start, real, sliceSize, progress, tell);
        if (!check) {
            return false;
        }
        const bool good = check->md5 == file.slices[k].md5 && check->crc == file.slices[k].crc;
        states[k] = good ? SliceState::Good : SliceState::Damaged;
    }
    return true;
}

}  // namespace

bool RecoveryCheck::anyDamage() const {
    return std::any_of(pieceReports.begin(), pieceReports.end(),
                       [](const PieceReport& piece) { return piece.needsRepair(); });
}

std::optional<RecoveryCheck> checkRecovery(FileSystem& fs, const Text& folder,
                                           const std::vector<Text>& pieces,
                                           std::span<const PieceKnown> known, Progress& progress,
                                           const ProgressFn& report) {
    const auto tell = [&] { return !report || report(progress); };
    RecoveryCheck check;
    check.folder = folder;
    check.pieces = pieces;
    check.pieceReports.resize(pieces.size());
    const Text prefix = folder + fs.separator();

    // Every recovery file once, start to end.
    par2::CandidateSets sets;
    std::vector<par2::ScannedFile> scanned;
    const std::vector<Text> names = par2Files(fs, folder);
    for (const Text& name : names) {
        if (fs.fileExists(prefix + name)) {
            progress.bytesTotal += fs.fileLength(prefix + name);
        }
    }
    for (const Text& name : names) {
        RecoveryFileReport& file = check.files.emplace_back();
        file.name = name;
        try {
            par2::ScannedFile found = par2::scanPar2File(fs, prefix + name);
            progress.bytesDone += fs.fileLength(prefix + name);
            file.brokenPackets = found.brokenPackets;
            file.cutShort = found.end != par2::ScanEnd::Complete;
            file.note = found.meta.empty() && found.recovery.empty() ? FileNote::NotRecoveryData
                                                                     : FileNote::OtherSet;
            par2::addScanned(sets, check.files.size() - 1, std::move(found), fs.separator());
        } catch (const RuntimeError& error) {
            file.note = FileNote::Unreadable;
            file.error = error.number();
        }
        if (!tell()) {
            return std::nullopt;
        }
    }
    const auto chosen = par2::chooseSet(sets, pieces);
    if (!chosen) {
        return check;
    }
    check.setFound = true;
    check.sliceSize = chosen->sliceSize;
    for (const std::size_t file : sets.filesOfSet.at(chosen->id)) {
        check.files[file].note = FileNote::Used;
    }
    std::set<std::uint32_t> exponents;
    for (const auto& found : sets.recovery) {
        if (found.ref.setId == chosen->id && found.ref.dataLength == chosen->sliceSize &&
            exponents.insert(found.ref.exponent).second) {
            check.recovery.push_back(
                {prefix + check.files[found.file].name, found.ref.exponent, found.ref.dataOffset});
            ++check.files[found.file].recoverySlices;
        }
    }
    std::sort(
        check.recovery.begin(), check.recovery.end(),
        [](const RecoverySlice& a, const RecoverySlice& b) { return a.exponent < b.exponent; });

    // The slices in the set's order, each piece's where its file is.
    for (std::size_t f = 0; f < chosen->files.size(); ++f) {
        const auto& file = chosen->files[f];
        PieceReport& piece = check.pieceReports[chosen->pieceOf[f]];
        piece.covered = true;
        piece.expectedLength = file.length;
        piece.firstSlice = static_cast<std::int64_t>(check.slices.size());
        piece.sliceCount = static_cast<std::int64_t>(file.slices.size());
        for (std::size_t k = 0; k < file.slices.size(); ++k) {
            check.slices.push_back(SliceState::Missing);
            check.slicePiece.push_back(chosen->pieceOf[f]);
            check.sliceOffset.push_back(static_cast<std::int64_t>(k) * chosen->sliceSize);
            check.sliceChecks.push_back(file.slices[k]);
        }
    }
    SliceReader reader;
    for (std::size_t f = 0; f < chosen->files.size(); ++f) {
        const std::size_t p = chosen->pieceOf[f];
        PieceReport& piece = check.pieceReports[p];
        const auto states = std::span(check.slices)
                                .subspan(static_cast<std::size_t>(piece.firstSlice),
                                         static_cast<std::size_t>(piece.sliceCount));
        const Text path = prefix + pieces[p];
        piece.present = fs.fileExists(path);
        if (!piece.present) {
            continue;
        }
        piece.actualLength = fs.fileLength(path);
        if (known.size() != pieces.size() || known[p] != PieceKnown::Good) {
            progress.bytesTotal += std::min(piece.actualLength, piece.expectedLength);
        }
        if (known.size() == pieces.size() && known[p] == PieceKnown::Good &&
            piece.actualLength == piece.expectedLength) {
            std::fill(states.begin(), states.end(), SliceState::Good);
            continue;
        }
        if (!checkPiece(fs, path, chosen->files[f], chosen->sliceSize, states, piece, reader,
                        progress, report)) {
            return std::nullopt;
        }
    }
    for (PieceReport& piece : check.pieceReports) {
        const auto states = std::span(check.slices)
                                .subspan(static_cast<std::size_t>(piece.firstSlice),
                                         static_cast<std::size_t>(piece.sliceCount));
        piece.lostSlices = std::count_if(states.begin(), states.end(),
                                         [](SliceState s) { return s != SliceState::Good; });
        check.lostSlices += piece.lostSlices;
    }
    return check;
}

}  // namespace tessark::recovery
