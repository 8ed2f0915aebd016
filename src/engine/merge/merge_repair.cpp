// SPDX-License-Identifier: MIT
#include "engine/merge/merge_repair.h"

#include <map>
#include <memory>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark {

namespace {

// The temporary files of the rebuilt pieces, removed however the merge ends.
struct RebuiltFiles {
    explicit RebuiltFiles(FileSystem& fs) : fs_(fs) {}
    ~RebuiltFiles() {
        files.clear();  // closed before they are removed
        for (const Text& path : paths) {
            fs_.removeFile(path);
        }
    }
    RebuiltFiles(const RebuiltFiles&) = delete;
    RebuiltFiles& operator=(const RebuiltFiles&) = delete;

    std::map<std::size_t, std::unique_ptr<OutputFile>> files;  // by piece
    std::map<std::size_t, Text> pathOf;
    std::vector<Text> paths;

  private:
    FileSystem& fs_;
};

}  // namespace

std::optional<RepairSet> repairSetOf(FileSystem& fs, const MergePlan& plan) {
    const char16_t sep = fs.separator();
    const SetChecksumFile& file = plan.checksumFile;
    if (file.status != ChecksumFileStatus::Read ||
        (plan.checks.status != ChecksumStatus::Matches &&
         plan.checks.status != ChecksumStatus::Differs)) {
        return std::nullopt;
    }
    RepairSet set;
    set.folder = folderPart(file.path, sep).value_or(Text());
    const Text prefix = set.folder + sep;
    std::int64_t next = 0;  // in the merge list
    for (const ChecksumEntry& entry : file.sums.pieces) {
        set.names.push_back(entry.name);
        if (next < plan.pieces.size() && plan.pieces[next] == prefix + entry.name) {
            set.listIndex.push_back(next++);
        } else if (fs.kind(prefix + entry.name) == FileKind::None) {
            set.listIndex.push_back(-1);  // missing, and left out of the list
        } else {
            return std::nullopt;  // a piece that is there is not in its place
        }
    }
    if (next != plan.pieces.size()) {
        return std::nullopt;
    }
    return set;
}

std::optional<recovery::RecoveryCheck> checkRepair(FileSystem& fs, const RepairSet& set,
                                                   std::int64_t goodInList,
                                                   const ProgressFn& report) {
    std::vector<recovery::PieceKnown> known;
    known.reserve(set.names.size());
    for (const std::int64_t at : set.listIndex) {
        known.push_back(at >= 0 && at < goodInList ? recovery::PieceKnown::Good
                                                   : recovery::PieceKnown::Unknown);
    }
    Progress progress;
    return recovery::checkRecovery(fs, set.folder, set.names, known, progress, report);
}

std::vector<Text> lostPieces(const recovery::RecoveryCheck& check) {
    std::vector<Text> lost;
    for (std::size_t i = 0; i < check.pieceReports.size(); ++i) {
        if (check.pieceReports[i].needsRepair()) {
            lost.push_back(check.pieces[i]);
        }
    }
    return lost;
}

RepairedMerge runRepairedMerge(FileSystem& fs, const MergePlan& plan, const RepairSet& set,
                               const recovery::RecoveryCheck& check, const ProgressFn& report) {
    const char16_t sep = fs.separator();
    const Text outputFolder = folderPart(plan.output, sep).value_or(Text());
    RepairedMerge result;
    // The staged output first: making it clears its folder of temporary files
    // nobody holds, which the rebuilt pieces are once written and closed.
    const auto staged = fs.createStaged(plan.output);
    RebuiltFiles rebuilt(fs);
    Progress progress;
    for (std::size_t i = 0; i < check.pieceReports.size(); ++i) {
        if (!check.pieceReports[i].needsRepair()) {
            continue;
        }
        Text path;
        auto& out = rebuilt.files[i] = fs.createTempFile(outputFolder, path);
        rebuilt.paths.push_back(path);
        // A temporary file's name is a staging file's: another merge staging
        // its output in this folder would clear it away as abandoned once it
        // is closed. Under a name of its own, still open, it stays.
        const Text own = path + u".rebuilt";
        if (fs.kind(own) != FileKind::None) {
            throw RuntimeError(err::FileExists, own, FileAction::Create);
        }
        fs.replaceFile(path, own);
        rebuilt.paths.back() = own;
        rebuilt.pathOf[i] = own;
        result.rebuilt.push_back(check.pieces[i]);
        if (check.pieceReports[i].present &&
            !recovery::copySoundSlices(fs, check, i, *out, 0, progress, report)) {
            result.rebuild = recovery::RebuildOutcome::Stopped;
            return result;
        }
    }
    result.rebuild = recovery::rebuildLost(
        fs, check,
        [&](std::size_t piece, std::int64_t offset, std::span<const std::byte> bytes) {
            rebuilt.files.at(piece)->writeAt(offset, bytes);
        },
        progress, report);
    if (result.rebuild != recovery::RebuildOutcome::Rebuilt) {
        return result;
    }
    for (auto& [piece, out] : rebuilt.files) {
        out->close();
    }

    // The whole set in the checksum file's order, each piece checked against
    // its line and the joined file against the last.
    MergePlan joined = plan;
    std::vector<Text> pieces;
    joined.checks = MergeChecks{};
    joined.checks.status = ChecksumStatus::Matches;
    joined.checks.file = plan.checksumFile.path;
    for (std::size_t i = 0; i < set.names.size(); ++i) {
        const auto found = rebuilt.pathOf.find(i);
        pieces.push_back(found != rebuilt.pathOf.end() ? found->second
                                                       : set.folder + sep + set.names[i]);
        joined.checks.pieces.emplace_back(plan.checksumFile.sums.pieces[i].digest);
    }
    if (plan.checksumFile.sums.whole) {
        joined.checks.whole = plan.checksumFile.sums.whole->digest;
    }
    joined.pieces = PieceList(std::move(pieces));
    result.merge = runMergeInto(fs, joined, *staged, report);
    return result;
}

}  // namespace tessark
