// SPDX-License-Identifier: MIT
#include "engine/split/split_plan.h"

#include <algorithm>
#include <limits>

#include "engine/checksum/checksum_file.h"
#include "engine/core/file_system.h"
#include "engine/core/hashing_copy.h"
#include "engine/core/piece_names.h"
#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"
#include "engine/recovery/par2_create.h"
#include "engine/recovery/par2_format.h"
#include "engine/split/join_script.h"
#include "engine/split/split_settings.h"

namespace tessark {

namespace {

SplitRefusal refusal(SplitCheck check, const Text& path = {}) {
    return {check, path};
}

// The merge name for the first piece: "name$.ext.001" gives "name(1).ext",
// beside the source; without a "$" the target itself.
void proposeMergeName(SplitPlan& plan) {
    const Text first = plan.piece(0).name;
    const auto dollar = lastIndexOf(first, u'$');
    const auto dot = lastIndexOf(first, u'.');
    const bool hasDollar = dollar != Text::npos && dot != Text::npos && dollar < dot;
    plan.mergeName =
        hasDollar ? first.substr(0, dollar) + u"(1)" + first.substr(dollar + 1, dot - dollar - 1)
                  : first.substr(0, dot);
}

// Whether any file the split would truncate or write is the source itself,
// under any spelling or link (through a linked folder too): every piece and
// the script are compared with the source's identity. A name taken by a
// device, a pipe or a folder is refused too: writing there would hang, fill
// a device or fail halfway.
std::optional<SplitRefusal> writesOverSource(FileSystem& fs, const SplitPlan& plan) {
    const auto sourceId = fs.fileId(plan.source);
    if (!sourceId) {
        raise(err::FileNotFound);  // gone since it was found
    }
    const auto check = [&](const Text& name) -> std::optional<SplitRefusal> {
        const auto id = name == plan.source ? sourceId : fs.fileId(name);
        if (id == sourceId) {
            return refusal(SplitCheck::TargetIsSource, plan.target);
        }
        // One look for most names: nothing there has no identity.
        if ((id && !fs.fileExists(name)) || (!id && fs.isDeviceName(name))) {
            return refusal(SplitCheck::TargetNotAFile, name);
        }
        return std::nullopt;
    };
    for (std::int64_t i = 0; i < plan.pieceCount(); ++i) {
        if (auto refused = check(plan.piece(i).name)) {
            return refused;
        }
    }
    for (const Text& path : plan.recoveryPaths()) {
        if (auto refused = check(path)) {
            return refused;
        }
    }
    if (plan.writeScript) {
        if (auto refused = check(plan.scriptPath)) {
            return refused;
        }
    }
    return plan.writeChecksum ? check(plan.checksumPath) : std::nullopt;
}

// The source and target checks, in the window's order; nothing when they pass.
std::optional<SplitRefusal> checkNames(FileSystem& fs, const Text& source, const Text& target) {
    const char16_t separator = fs.separator();
    const Text separatorText(1, separator);
    if (source.empty()) {
        return refusal(SplitCheck::NoSource);
    }
    if (endsWith(source, separatorText)) {
        return refusal(SplitCheck::SourceIsFolder, source);
    }
    if (!fs.fileExists(source)) {
        return refusal(SplitCheck::SourceMissing, source);
    }
    if (target.empty()) {
        return refusal(SplitCheck::NoTarget);
    }
    if (endsWith(target, separatorText)) {
        return refusal(SplitCheck::TargetIsFolder, target);
    }
    if (fs.fileExists(target)) {
        return refusal(SplitCheck::TargetExists, target);
    }
    // A bare name has no folder to put the pieces and the script in.
    const auto folder = folderToLookUp(target, separator);
    if (!folder || !fs.folderExists(*folder)) {
        return refusal(SplitCheck::TargetFolderMissing, target);
    }
    return std::nullopt;
}

// Whether the checksum file stays within what its reader takes: at most
// kMaxChecksumEntries lines and kMaxChecksumFile bytes, counting every
// piece's line as long as the last (the longest number).
bool checksumFits(const SplitPlan& plan, char16_t separator) {
    const std::int64_t count = plan.pieceCount();
    if (count < 1) {
        return true;  // nothing to list
    }
    if (static_cast<std::uint64_t>(count) + 1 > kMaxChecksumEntries) {
        return false;
    }
    const Sha256Digest any{};
    const auto pieceLine = static_cast<std::int64_t>(
        checksumLine(any, GetFileName(plan.piece(count - 1).name, separator)).size());
    const auto wholeLine =
        static_cast<std::int64_t>(checksumLine(any, GetFileName(plan.mergeName, separator)).size());
    return pieceLine <= (kMaxChecksumFile - wholeLine) / count;
}

ScriptPieces scriptPieces(const SplitPlan& plan) {
    return {plan.pieceCount(), [&plan](std::int64_t i) { return plan.piece(i).name; }};
}

}  // namespace

std::int64_t SplitPlan::pieceCount() const {
    return block <= 0 ? 0 : length / block + (length % block != 0 ? 1 : 0);
}

PlannedPiece SplitPlan::piece(std::int64_t index) const {
    const std::int64_t offset = index * block;
    return {pieceName(target, index + 1), offset, std::min(block, length - offset)};
}

std::vector<Text> SplitPlan::recoveryPaths() const {
    if (recovery != SplitRecovery::On) {
        return {};
    }
    return recovery::recoveryPaths(target, recoverySlices);
}

std::string SplitPlan::scriptBytes(FileSystem& fs) const {
    std::string bytes;
    if (writeScript) {
        joinScriptLines(fs, scriptPieces(*this), mergeName,
                        [&](const std::string& line) { bytes += line; });
    }
    return bytes;
}

std::variant<SplitRefusal, SplitPlan> planSplit(FileSystem& fs, const SplitRequest& request) {
    SplitPlan plan;
    plan.source = trimSpaces(request.source);
    plan.target = trimSpaces(request.target);
    plan.writeScript = request.writeScript;
    plan.writeChecksum = request.writeChecksum;
    if (auto refused = checkNames(fs, plan.source, plan.target)) {
        return *refused;
    }
    // Link.bat quotes the pieces' and the output's names, all formed from the
    // target's name: one the quotes cannot hold is refused before the size.
    if (plan.writeScript && !safeInScript(GetFileName(plan.target, fs.separator()))) {
        return refusal(SplitCheck::UnsafeScriptName, plan.target);
    }

    switch (request.block.kind) {
        case BlockSize::Kind::Floppy:
            plan.block = kFloppyBlock;
            break;
        case BlockSize::Kind::Bytes:
            plan.block = request.block.bytes;
            break;
        case BlockSize::Kind::TypedKilobytes:
            plan.block = typedBlockBytes(request.block.typed).value_or(0);
            break;
    }
    if (plan.block <= 0) {
        return refusal(SplitCheck::NoBlockSize);
    }
    plan.length = fs.fileLength(plan.source);
    if (plan.block > plan.length) {
        return refusal(SplitCheck::BlockLargerThanFile, plan.source);
    }

    proposeMergeName(plan);
    plan.scriptPath = joinScriptPath(plan.target, fs.separator());
    plan.checksumPath = checksumPath(plan.target);
    if (request.recoverySlices > 0) {
        plan.recovery = plan.pieceCount() > par2::kMaxInputSlices ? SplitRecovery::TooManyPieces
                                                                  : SplitRecovery::On;
        plan.recoverySlices = static_cast<std::uint32_t>(
            std::min<std::int64_t>(request.recoverySlices, par2::kMaxRecoverySlices));
    }

    if (plan.writeChecksum && !checksumFits(plan, fs.separator())) {
        return refusal(SplitCheck::TooManyForChecksum, plan.target);
    }
    // Truncating a piece or the script must never destroy the file being cut.
    if (auto refused = writesOverSource(fs, plan)) {
        return *refused;
    }
    return plan;
}

namespace {

// The checksum file, one line per piece as it is cut, staged so that only a
// split that went through to the end leaves one.
class ChecksumWriter {
  public:
    ChecksumWriter(FileSystem& fs, const SplitPlan& plan)
        : fs_(fs), plan_(plan), staged_(fs.createStaged(plan.checksumPath)) {}
    ChecksumWriter(const ChecksumWriter&) = delete;
    ChecksumWriter& operator=(const ChecksumWriter&) = delete;

    // The hashes the copy of a piece feeds: the piece's and the whole file's.
    std::span<Sha256* const> hashes() { return hashes_; }

    void pieceDone(const PlannedPiece& piece) {
        add(checksumLine(piece_.finish(), GetFileName(piece.name, fs_.separator())));
    }

    // The whole file's line, then the file takes its name, unless that name
    // has come to reach the source since the check.
    void commit(FileId source) {
        add(checksumLine(whole_.finish(), GetFileName(plan_.mergeName, fs_.separator())));
        if (fs_.fileId(plan_.checksumPath) == source) {
            raise(err::PermissionDenied);
        }
        staged_->commit();
    }

  private:
    void add(const std::string& line) {
        staged_->writeAt(written_, std::as_bytes(std::span(line.data(), line.size())));
        written_ += static_cast<std::int64_t>(line.size());
    }

    FileSystem& fs_;
    const SplitPlan& plan_;
    std::unique_ptr<StagedFile> staged_;
    Sha256 piece_;
    Sha256 whole_;
    Sha256* hashes_[2] = {&piece_, &whole_};
    std::int64_t written_ = 0;
};

// Copies one piece (hashing it when `checksums` is given); a piece that could
// not be written whole, or whose copy was stopped, is removed: its bytes are
// neither the old ones nor the new. Opening it is refused (error 70, nothing
// removed) when its name has come to reach the source since the check.
bool writePiece(FileSystem& fs, InputFile& source, const PlannedPiece& piece, Progress& progress,
                const ProgressFn& report, ChecksumWriter* checksums) {
    auto file = fs.createFile(piece.name, source.id());
    try {
        const bool copied =
            checksums ? copyAndHash(source, piece.offset, *file, 0, piece.size, checksums->hashes(),
                                    progress, report)
                      : copyBytes(fs, source, piece.offset, *file, 0, piece.size, progress, report);
        if (!copied) {
            file.reset();
            fs.removeFile(piece.name);
            return false;
        }
        file->close();
    } catch (...) {
        file.reset();
        fs.removeFile(piece.name);
        throw;
    }
    return true;
}

// Whether anything (a file, a pipe, a device) was at a piece's name before
// the run. What cannot be looked up counts as there: a stop never removes
// it, and writing it says what is wrong.
bool wasThere(FileSystem& fs, const Text& name) {
    try {
        return fs.fileId(name).has_value();
    } catch (const RuntimeError&) {
        return true;
    }
}

// A stopped split takes back the complete pieces it created, so that no half
// set that looks whole is left; a piece file that was there before the run
// stays. The first goes first: should the removal itself be cut short, what
// is left has no first piece, and Add does not take it for a set.
RunOutcome takeBack(FileSystem& fs, const SplitPlan& plan, const std::vector<bool>& existed) {
    for (std::size_t i = 0; i < existed.size(); ++i) {
        if (!existed[i]) {
            fs.removeFile(plan.piece(static_cast<std::int64_t>(i)).name);
        }
    }
    return RunOutcome::Stopped;
}

// The recovery files of the pieces just cut, staged; nothing when the run was
// asked to stop meanwhile. The progress stays where the cut left it, so that
// a window's bar and list do not move, but a stop is still heard.
std::optional<recovery::PreparedRecovery> prepareSplitRecovery(FileSystem& fs,
                                                               const SplitPlan& plan, FileId source,
                                                               const Progress& cut,
                                                               const ProgressFn& report) {
    recovery::CreateRequest request;
    for (std::int64_t i = 0; i < plan.pieceCount(); ++i) {
        request.pieces.push_back(plan.piece(i).name);
    }
    request.base = plan.target;
    request.sliceSize = recovery::defaultSliceSize(plan.block);
    request.recoverySlices = plan.recoverySlices;
    request.mustNotBe.push_back(source);
    Progress own;
    const ProgressFn relay = [&](const Progress&) { return !report || report(cut); };
    auto prepared = recovery::prepareRecovery(fs, request, own, relay);
    if (std::holds_alternative<recovery::CreateCheck>(prepared)) {
        // The plan's count was checked; only a piece emptied since can land here.
        raise(err::DeviceIo);
    }
    return std::move(std::get<std::optional<recovery::PreparedRecovery>>(prepared));
}

}  // namespace

RunOutcome runSplit(FileSystem& fs, const SplitPlan& plan, const ProgressFn& report) {
    Progress progress{0, plan.length, 0, plan.pieceCount()};
    const auto tell = [&] { return !report || report(progress); };
    const auto input = fs.openRead(plan.source);
    if (const auto folder = folderToLookUp(plan.target, fs.separator())) {
        fs.removeAbandonedStaging(*folder);
    }
    // Destroyed uncommitted on a stop or an error: no checksum file is left.
    std::optional<ChecksumWriter> checksums;
    if (plan.writeChecksum) {
        checksums.emplace(fs, plan);
    }
    ChecksumWriter* const hashing = checksums ? &*checksums : nullptr;
    // One bit per complete piece: whether its file was there before the run.
    std::vector<bool> existed;
    for (std::int64_t i = 0; i < progress.piecesTotal; ++i) {
        const PlannedPiece piece = plan.piece(i);
        progress.bytesDone = piece.offset;
        if (!tell()) {
            return takeBack(fs, plan, existed);
        }
        const bool there = wasThere(fs, piece.name);
        if (!writePiece(fs, *input, piece, progress, report, hashing)) {
            return takeBack(fs, plan, existed);
        }
        existed.push_back(there);
        if (hashing) {
            hashing->pieceDone(piece);
        }
        ++progress.piecesDone;
    }
    // Nothing after the pieces is written when the run stops here.
    if (!tell()) {
        return takeBack(fs, plan, existed);
    }
    std::optional<recovery::PreparedRecovery> recoveryFiles;
    if (plan.recovery == SplitRecovery::On) {
        recoveryFiles = prepareSplitRecovery(fs, plan, input->id(), progress, report);
        if (!recoveryFiles) {
            return takeBack(fs, plan, existed);
        }
    }
    if (plan.writeScript) {
        writeJoinScriptFile(fs, plan.scriptPath, scriptPieces(plan), plan.mergeName, input->id());
    }
    if (hashing) {
        hashing->commit(input->id());
    }
    if (recoveryFiles) {
        recoveryFiles->commit();
    }
    return RunOutcome::Completed;
}

}  // namespace tessark
