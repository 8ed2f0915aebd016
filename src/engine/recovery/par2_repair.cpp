// SPDX-License-Identifier: MIT
// The in-place repair: a staged copy of every piece that needs one, then the
// renames.
#include <algorithm>
#include <map>
#include <memory>

#include "engine/core/file_system.h"
#include "engine/recovery/par2_rebuild.h"
#include "engine/recovery/slice_io.h"

namespace tessark::recovery {

bool copySoundSlices(FileSystem& fs, const RecoveryCheck& check, std::size_t index, OutputFile& out,
                     std::int64_t outOffset, Progress& progress, const ProgressFn& report) {
    const PieceReport& piece = check.pieceReports[index];
    const auto in = fs.openRead(check.folder + fs.separator() + check.pieces[index]);
    std::vector<std::byte> buffer(kSliceChunk);
    for (std::int64_t k = 0; k < piece.sliceCount; ++k) {
        const auto slice = static_cast<std::size_t>(piece.firstSlice + k);
        if (check.slices[slice] != SliceState::Good) {
            continue;
        }
        const std::int64_t start = check.sliceOffset[slice];
        const std::int64_t end = std::min(start + check.sliceSize, piece.expectedLength);
        for (std::int64_t at = start; at < end;) {
            const auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(kSliceChunk), end - at));
            readExactly(*in, at, std::span(buffer).first(n));
            out.writeAt(outOffset + at, std::span(buffer).first(n));
            at += static_cast<std::int64_t>(n);
            progress.bytesDone += static_cast<std::int64_t>(n);
            if (report && !report(progress)) {
                return false;
            }
        }
    }
    return true;
}

RepairResult repairInPlace(FileSystem& fs, const RecoveryCheck& check, Progress& progress,
                           const ProgressFn& report, std::int64_t memory) {
    RepairResult result;
    if (!check.setFound) {
        result.outcome = RebuildOutcome::NoSet;
        return result;
    }
    if (!check.repairable()) {
        result.outcome = RebuildOutcome::NotEnough;
        return result;
    }
    const Text prefix = check.folder + fs.separator();
    std::map<std::size_t, std::unique_ptr<StagedFile>> staged;
    for (std::size_t p = 0; p < check.pieces.size(); ++p) {
        const PieceReport& piece = check.pieceReports[p];
        if (!piece.needsRepair()) {
            continue;
        }
        auto file = fs.createStaged(prefix + check.pieces[p]);
        if (piece.present && !copySoundSlices(fs, check, p, *file, 0, progress, report)) {
            result.outcome = RebuildOutcome::Stopped;
            return result;
        }
        staged.emplace(p, std::move(file));
    }
    const RebuildSink sink = [&](std::size_t piece, std::int64_t offset,
                                 std::span<const std::byte> bytes) {
        staged.at(piece)->writeAt(offset, bytes);
    };
    result.outcome = rebuildLost(fs, check, sink, progress, report, memory);
    if (result.outcome != RebuildOutcome::Rebuilt) {
        return result;
    }
    for (auto& [p, file] : staged) {
        const Text path = prefix + check.pieces[p];
        if (check.pieceReports[p].present) {
            fs.replaceFile(path, damagedName(path));
        }
        file->commit();
        result.repaired.push_back(p);
    }
    return result;
}

}  // namespace tessark::recovery
