// SPDX-License-Identifier: MIT
#include "engine/split/split_plan.h"

#include <algorithm>
#include <limits>

#include "engine/core/box_style.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/split/join_script.h"
#include "engine/split/split_settings.h"

namespace tessark {

namespace {

constexpr char16_t kNoSource[] = u"没有指定源文件!";
constexpr char16_t kNoBlockSize[] = u"分割块大小没有指定!";
constexpr char16_t kTargetExists[] = u"指定的目标文件已经存在，请重新取名!";
constexpr char16_t kUnsafeName[] = u"目标文件名中含有批处理文件不能使用的字符!";

SplitRefusal refusal(SplitCheck check, Text message, int style, InputField field,
                     Selection selection = Selection::Keep) {
    return {check, std::move(message), style, field, selection};
}

// The merge name for the first piece: "name$.ext.001" gives "name(1).ext",
// beside the source; without a "$" the target itself.
void proposeMergeName(SplitPlan& plan) {
    const Text& first = plan.pieces.front().name;
    const auto dollar = lastIndexOf(first, u'$');
    const auto dot = lastIndexOf(first, u'.');
    plan.mergeNameHasDollar = dollar != Text::npos && dot != Text::npos && dollar < dot;
    plan.mergeName = plan.mergeNameHasDollar ? first.substr(0, dollar) + u"(1)" +
                                                   first.substr(dollar + 1, dot - dollar - 1)
                                             : first.substr(0, dot);
}

// Whether any file the split would truncate or write is the source itself,
// under any spelling or link (through a linked folder too): every piece and
// the script are compared with the source's identity.
bool writesOverSource(FileSystem& fs, const SplitPlan& plan) {
    const auto sourceId = fs.fileId(plan.source);
    if (!sourceId) {
        raise(err::FileNotFound);  // gone since it was found
    }
    const auto isSource = [&](const Text& name) {
        return name == plan.source || fs.fileId(name) == sourceId;
    };
    return std::any_of(plan.pieces.begin(), plan.pieces.end(),
                       [&](const PlannedPiece& p) { return isSource(p.name); }) ||
           (plan.writeScript && isSource(plan.scriptPath));
}

// The source and target checks, in the window's order; nothing when they pass.
std::optional<SplitRefusal> checkNames(FileSystem& fs, const Text& source, const Text& target) {
    const char16_t separator = fs.separator();
    const Text separatorText(1, separator);
    if (source.empty()) {
        return refusal(SplitCheck::NoSource, kNoSource, mb::Exclamation, InputField::Source);
    }
    if (endsWith(source, separatorText)) {
        return refusal(SplitCheck::SourceIsFolder, kNoSource, mb::Exclamation, InputField::Source,
                       Selection::All);
    }
    if (!fs.fileExists(source)) {
        return refusal(SplitCheck::SourceMissing, u"源文件  " + source + u"  不存在!",
                       mb::Exclamation, InputField::Source, Selection::All);
    }
    if (target.empty()) {
        return refusal(SplitCheck::NoTarget, u"没有指定分割后的文件!", mb::Exclamation,
                       InputField::Target);
    }
    if (endsWith(target, separatorText)) {
        return refusal(SplitCheck::TargetIsFolder, u"目标文件框中只指定了文件夹，请指定文件名",
                       mb::Exclamation, InputField::Target, Selection::CaretToEnd);
    }
    if (fs.fileExists(target)) {
        return refusal(SplitCheck::TargetExists, kTargetExists, mb::Information, InputField::Target,
                       Selection::All);
    }
    // A bare name has no folder to put the pieces and the script in.
    const auto folder = folderToLookUp(target, separator);
    if (!folder || !fs.folderExists(*folder)) {
        return refusal(SplitCheck::TargetFolderMissing, u"目标文件中的路径不存在!", mb::Exclamation,
                       InputField::Target, Selection::All);
    }
    return std::nullopt;
}

}  // namespace

std::variant<SplitRefusal, SplitPlan> planSplit(FileSystem& fs, const SplitRequest& request) {
    SplitPlan plan;
    plan.source = trimSpaces(request.source);
    plan.target = trimSpaces(request.target);
    plan.writeScript = request.writeScript;
    if (auto refused = checkNames(fs, plan.source, plan.target)) {
        return *refused;
    }
    // Link.bat quotes the pieces' and the output's names, all formed from the
    // target's name: one the quotes cannot hold is refused before the size.
    if (plan.writeScript && !safeInScript(GetFileName(plan.target, fs.separator()))) {
        return refusal(SplitCheck::UnsafeScriptName, kUnsafeName, mb::Exclamation,
                       InputField::Target, Selection::All);
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
        return refusal(SplitCheck::NoBlockSize, kNoBlockSize, mb::Information,
                       InputField::BlockSize);
    }
    plan.length = fs.fileLength(plan.source);
    if (plan.block > plan.length) {
        return refusal(SplitCheck::BlockLargerThanFile, u"块文件比要分割的文件还要大!没必要分割!",
                       mb::Information, InputField::None);
    }

    const std::int64_t count = plan.length / plan.block + (plan.length % plan.block != 0 ? 1 : 0);
    plan.pieces.reserve(static_cast<std::size_t>(count));
    for (std::int64_t number = 1, offset = 0; offset < plan.length; ++number) {
        const std::int64_t size = std::min(plan.block, plan.length - offset);
        plan.pieces.push_back({pieceName(plan.target, number), offset, size});
        offset += size;
    }
    proposeMergeName(plan);
    plan.scriptPath = joinScriptPath(plan.target, fs.separator());
    if (plan.writeScript) {
        std::vector<Text> names;
        names.reserve(plan.pieces.size());
        for (const auto& piece : plan.pieces) {
            names.push_back(piece.name);
        }
        plan.scriptBytes = joinScriptBytes(fs, names, plan.mergeName);
    }

    // Truncating a piece or the script must never destroy the file being cut.
    if (writesOverSource(fs, plan)) {
        return refusal(SplitCheck::TargetIsSource, kTargetExists, mb::Information,
                       InputField::Target, Selection::All);
    }
    return plan;
}

namespace {

// Copies one piece; a piece that could not be written whole, or whose copy
// was stopped, is removed: its bytes are neither the old ones nor the new.
// Opening it is refused (error 70, nothing removed) when its name has come to
// reach the source since the check.
bool writePiece(FileSystem& fs, InputFile& source, const PlannedPiece& piece, Progress& progress,
                const ProgressFn& report) {
    auto file = fs.createFile(piece.name, source.id());
    try {
        if (!copyBytes(fs, source, piece.offset, *file, 0, piece.size, progress, report)) {
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
            fs.removeFile(plan.pieces[i].name);
        }
    }
    return RunOutcome::Stopped;
}

}  // namespace

RunOutcome runSplit(FileSystem& fs, const SplitPlan& plan, const ProgressFn& report) {
    Progress progress{0, plan.length, 0, static_cast<std::int64_t>(plan.pieces.size())};
    const auto tell = [&] { return !report || report(progress); };
    const auto input = fs.openRead(plan.source);
    if (const auto folder = folderToLookUp(plan.target, fs.separator())) {
        fs.removeAbandonedStaging(*folder);
    }
    // One bit per complete piece: whether its file was there before the run.
    std::vector<bool> existed;
    for (const PlannedPiece& piece : plan.pieces) {
        progress.bytesDone = piece.offset;
        if (!tell()) {
            return takeBack(fs, plan, existed);
        }
        const bool there = wasThere(fs, piece.name);
        if (!writePiece(fs, *input, piece, progress, report)) {
            return takeBack(fs, plan, existed);
        }
        existed.push_back(there);
        ++progress.piecesDone;
    }
    // Nothing after the pieces is written when the run stops here.
    if (!tell()) {
        return takeBack(fs, plan, existed);
    }
    if (plan.writeScript) {
        writeJoinScriptFile(fs, plan.scriptPath, plan.scriptBytes, input->id());
    }
    return RunOutcome::Completed;
}

}  // namespace tessark
