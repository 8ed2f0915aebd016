// SPDX-License-Identifier: MIT
#include "engine/merge/merge_plan.h"

#include <memory>

#include "engine/core/box_style.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark {

namespace {

// The merged bytes go to a new file beside the output and take the output's
// place only once every piece has been copied. Until then a failure or a stop
// removes the new file and leaves whatever the output name held as it was;
// that is also what lets a piece be merged into its own name.
class StagedOutput {
  public:
    StagedOutput(FileSystem& fs, const Text& folder) : fs_(fs) {
        file_ = fs_.createTempFile(folder, path_);
        created_ = true;
    }
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;
    ~StagedOutput() {
        file_.reset();  // closed before it is removed
        if (created_) {
            fs_.removeFile(path_);
        }
    }

    OutputFile& file() { return *file_; }

    // Closes the new file (a close can still fail, e.g. when the disk fills
    // up) and moves it over `target` in one step.
    void commit(const Text& target) {
        file_->close();
        fs_.replaceFile(path_, target);
        created_ = false;
    }

  private:
    FileSystem& fs_;
    Text path_;
    std::unique_ptr<OutputFile> file_;
    bool created_ = false;
};

MergeRefusal refusal(MergeCheck check, Text message, InputField field, Selection selection) {
    return {check, std::move(message), mb::Exclamation, field, selection};
}

}  // namespace

std::variant<MergeRefusal, MergePlan> planMerge(FileSystem& fs, const MergeRequest& request) {
    const char16_t sep = fs.separator();
    MergePlan plan;
    plan.output = trimSpaces(request.output);
    if (plan.output.empty()) {
        return refusal(MergeCheck::NoOutput, u"没有指定合并后的文件名!", InputField::Output,
                       Selection::Keep);
    }
    if (plan.output.back() == sep) {
        return refusal(MergeCheck::OutputIsFolder, u"目标文件框中只指定了文件夹，请指定文件名",
                       InputField::Output, Selection::All);
    }
    // A name without any separator has no folder to look up: refused like a
    // folder that does not exist, rather than ending without a word.
    const auto folder = folderToLookUp(plan.output, sep);
    if (!folder || !fs.folderExists(*folder)) {
        return refusal(MergeCheck::OutputFolderMissing, u"合并后的存储文件的路径不存在!",
                       InputField::Output, Selection::All);
    }
    if (request.pieces.empty()) {
        return refusal(MergeCheck::NoPieces, u"没有项目供合并!", InputField::None, Selection::Keep);
    }
    plan.folder = *folder;
    plan.pieces = request.pieces;
    // Hidden files count: replacing one without asking would lose it.
    plan.replacesExisting = fs.fileExists(plan.output);
    return plan;
}

RunOutcome runMerge(FileSystem& fs, const MergePlan& plan, const ProgressFn& report) {
    Progress progress{0, 0, 0, static_cast<std::int64_t>(plan.pieces.size())};
    // A piece that has gone fails here, before anything is written.
    std::vector<std::int64_t> lengths;
    lengths.reserve(plan.pieces.size());
    for (const Text& piece : plan.pieces) {
        lengths.push_back(fs.fileLength(piece));
        progress.bytesTotal += lengths.back();
    }
    const auto tell = [&] { return !report || report(progress); };

    StagedOutput staged(fs, plan.folder);
    for (std::size_t i = 0; i < plan.pieces.size(); ++i) {
        if (!tell()) {
            return RunOutcome::Stopped;
        }
        const auto in = fs.openRead(plan.pieces[i]);
        if (!copyBytes(fs, *in, 0, staged.file(), progress.bytesDone, lengths[i], progress,
                       report)) {
            return RunOutcome::Stopped;
        }
        ++progress.piecesDone;
    }
    if (!tell()) {
        return RunOutcome::Stopped;
    }
    staged.commit(plan.output);
    return RunOutcome::Completed;
}

}  // namespace tessark
