// SPDX-License-Identifier: MIT
#include "engine/merge/merge_plan.h"

#include <memory>

#include "engine/core/file_system.h"
#include "engine/core/hashing_copy.h"
#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"

namespace tessark {

namespace {

MergeRefusal refusal(MergeCheck check, const Text& output) {
    return {check, output};
}

}  // namespace

std::variant<MergeRefusal, MergePlan> planMerge(FileSystem& fs, const MergeRequest& request) {
    const char16_t sep = fs.separator();
    MergePlan plan;
    plan.output = trimSpaces(request.output);
    if (plan.output.empty()) {
        return refusal(MergeCheck::NoOutput, plan.output);
    }
    if (plan.output.back() == sep) {
        return refusal(MergeCheck::OutputIsFolder, plan.output);
    }
    // A name without any separator has no folder to look up: refused like a
    // folder that does not exist, rather than ending without a word.
    const auto folder = folderToLookUp(plan.output, sep);
    if (!folder || !fs.folderExists(*folder)) {
        return refusal(MergeCheck::OutputFolderMissing, plan.output);
    }
    if (request.pieces.empty()) {
        return refusal(MergeCheck::NoPieces, plan.output);
    }
    // The staged output would be renamed over it, turning it into a file.
    if (fs.folderExists(plan.output) && !fs.fileExists(plan.output)) {
        return refusal(MergeCheck::OutputNotAFile, plan.output);
    }
    plan.pieces = request.pieces;
    // Hidden files count: replacing one without asking would lose it.
    plan.replacesExisting = fs.fileExists(plan.output);
    if (request.verify) {
        std::optional<SetChecksumFile> read;
        const SetChecksumFile& file =
            request.checksums ? *request.checksums
                              : read.emplace(readSetChecksumFile(fs, plan.pieces[0], request.stop));
        plan.checks = matchMergeChecks(file, plan.pieces, sep);
        plan.checksumFile = file;
    }
    return plan;
}

std::int64_t measurePieces(FileSystem& fs, const PieceList& pieces) {
    std::int64_t total = 0;
    for (std::int64_t i = 0; i < pieces.size(); ++i) {
        total += fs.fileLength(pieces[i]);
    }
    return total;
}

namespace {

MergeOutcome join(FileSystem& fs, const MergePlan& plan, StagedFile& staged, Progress progress,
                  const ProgressFn& report) {
    const auto tell = [&] { return !report || report(progress); };

    // The merged bytes take the output's place only once every piece has been
    // copied: a failure, a stop or a kill leaves whatever the output name held
    // as it was, which is also what lets a piece be merged into its own name.
    // A damaged piece is named as soon as it has been copied; the staged bytes
    // are dropped with the staging file.
    const MergeChecks& checks = plan.checks;
    std::optional<Sha256> pieceHash;
    std::optional<Sha256> wholeHash;
    if (checks.any()) {
        pieceHash.emplace();
        wholeHash.emplace();
    }
    for (std::int64_t i = 0; i < plan.pieces.size(); ++i) {
        if (!tell()) {
            return {MergeResult::Stopped, std::nullopt};
        }
        const Text piece = plan.pieces[i];
        const auto in = fs.openRead(piece);
        const std::int64_t length = fs.fileLength(piece);
        const auto index = static_cast<std::size_t>(i);
        const auto expected = index < checks.pieces.size() ? checks.pieces[index] : std::nullopt;
        std::vector<Sha256*> hashes;
        if (expected) {
            hashes.push_back(&*pieceHash);
        }
        if (checks.whole) {
            hashes.push_back(&*wholeHash);
        }
        const bool copied =
            hashes.empty()
                ? copyBytes(fs, *in, 0, staged, progress.bytesDone, length, progress, report)
                : copyAndHash(*in, 0, staged, progress.bytesDone, length, hashes, progress, report);
        if (!copied) {
            return {MergeResult::Stopped, std::nullopt};
        }
        if (expected && pieceHash->finish() != *expected) {
            return {MergeResult::PieceDamaged, i};
        }
        ++progress.piecesDone;
    }
    if (!tell()) {
        return {MergeResult::Stopped, std::nullopt};
    }
    if (checks.whole && wholeHash->finish() != *checks.whole) {
        return {MergeResult::WholeDiffers, std::nullopt};
    }
    staged.commit();
    return {MergeResult::Joined, std::nullopt};
}

}  // namespace

MergeOutcome runMerge(FileSystem& fs, const MergePlan& plan, const ProgressFn& report) {
    // A piece that has gone fails here, before anything is written.
    const Progress progress{0, measurePieces(fs, plan.pieces), 0, plan.pieces.size()};
    const auto staged = fs.createStaged(plan.output);
    return join(fs, plan, *staged, progress, report);
}

MergeOutcome runMergeInto(FileSystem& fs, const MergePlan& plan, StagedFile& staged,
                          const ProgressFn& report) {
    const Progress progress{0, measurePieces(fs, plan.pieces), 0, plan.pieces.size()};
    return join(fs, plan, staged, progress, report);
}

}  // namespace tessark
