// SPDX-License-Identifier: MIT
#include "forms/merge_form.h"

#include "engine/core/file_system.h"
#include "engine/merge/merge_plan.h"
#include "engine/merge/merge_repair.h"
#include "forms/controls.h"
#include "forms/error_report.h"
#include "forms/job.h"
#include "forms/rebuild_words.h"
#include "forms/refusal_box.h"

namespace tessark {

namespace {

constexpr int kAskNoDefault = mb::Question | mb::YesNo | mb::DefaultButton2;

// Whether the merge goes on when the checksum file cannot vouch for the
// list: asked, No the default. A file that cannot be recognised leaves
// nothing to check.
bool acceptChecks(MainControls& w, FileSystem& fs, const MergeChecks& checks) {
    const Text file = GetFileName(checks.file, fs.separator());
    switch (checks.status) {
        case ChecksumStatus::None:
        case ChecksumStatus::Matches:
            return true;
        case ChecksumStatus::Unrecognised:
            return w.messages.show(u"校验文件 " + file + u" 无法识别，仍要合并吗？",
                                   kAskNoDefault) == mb::Yes;
        case ChecksumStatus::Differs:
            return w.messages.show(u"合并列表与校验文件 " + file + u" 不符，仍要合并吗？",
                                   kAskNoDefault) == mb::Yes;
    }
    return false;
}

// The box for a piece, or the joined file, that is not what was cut.
Text damageMessage(const Text& piece, const MergePlan& plan, char16_t separator) {
    if (!piece.empty()) {
        return u"文件 " + GetFileName(piece, separator) + u" 已损坏（校验值不符），合并已停止!";
    }
    return u"合并后的文件 " + GetFileName(plan.output, separator) + u" 与校验文件不符，合并已停止!";
}

// What a run reports to the window: the bar shows the index of the piece
// being joined as it begins, and the stop is heard at every report.
class RunReport {
  public:
    RunReport(MainControls& w, StopCheck& watch) : w_(w), watch_(watch) {}
    ProgressFn fn() {
        return [this](const Progress& p) {
            if (p.piecesTotal > 0 && p.piecesDone == started_ && started_ < p.piecesTotal) {
                w_.ProgressBar1.setValue(static_cast<double>(started_));
                ++started_;
            }
            return watch_.goOn();
        };
    }
    // The next run counts its pieces from the first again.
    void restart(std::int64_t pieces) {
        started_ = 0;
        showBusy(w_, static_cast<double>(pieces - 1));
    }

  private:
    MainControls& w_;
    StopCheck& watch_;
    std::int64_t started_ = 0;
};

AfterJob stopped(MainControls& w, StopCheck& watch) {
    w.StatusBar1.setPanelText(1, Text());
    resetDisplay(w);
    w.messages.show(u"合并已停止。", mb::Information);
    return watch.after();
}

AfterJob damaged(MainControls& w, const Text& message) {
    w.messages.show(message, mb::Critical);
    resetDisplay(w);
    return AfterJob::Stay;
}

AfterJob joined(MainControls& w, const MergePlan& plan, const Text& rebuilt) {
    w.StatusBar1.setPanelText(1, Text());
    // The bar stays up at its last value while the completion box is shown.
    w.mousePointer.setPointer(pointer::Default);
    w.messages.show(plan.output + u"合并完成!" + rebuilt, mb::Information);
    hideProgress(w);
    return AfterJob::Stay;
}

// Whether the merge list leaves out pieces of the set that are missing.
bool leavesOutMissing(const RepairSet& set) {
    for (const std::int64_t at : set.listIndex) {
        if (at < 0) {
            return true;
        }
    }
    return false;
}

// The first piece `check` finds lost; nothing names the joined file.
Text firstLost(const recovery::RecoveryCheck& check) {
    const std::vector<Text> lost = lostPieces(check);
    return lost.empty() ? Text() : lost.front();
}

// Rebuilds what `check` found lost and joins the set. When the rebuilt bytes
// are not what the set describes, a piece taken as sound was not: the pieces
// are read once more to find it, and what that finds is rebuilt too.
AfterJob joinRebuilt(MainControls& w, FileSystem& fs, const MergePlan& plan, const RepairSet& set,
                     recovery::RecoveryCheck check, StopCheck& watch, RunReport& report) {
    const char16_t sep = fs.separator();
    for (bool again = true;; again = false) {
        report.restart(static_cast<std::int64_t>(set.names.size()));
        const RepairedMerge run = runRepairedMerge(fs, plan, set, check, report.fn());
        const bool wrong = run.rebuild == recovery::RebuildOutcome::WrongResult ||
                           run.merge.result == MergeResult::PieceDamaged;
        if (wrong && again) {
            auto full = checkRepair(fs, set, 0, report.fn());
            if (!full) {
                return stopped(w, watch);
            }
            if (full->repairable()) {
                check = std::move(*full);
                continue;
            }
            return damaged(w, damageMessage(firstLost(*full), plan, sep) + u"\r" +
                                  shortfallLine(full->lostSlices, full->recoverySlices()));
        }
        switch (run.rebuild) {
            case recovery::RebuildOutcome::Rebuilt:
                break;
            case recovery::RebuildOutcome::Stopped:
                return stopped(w, watch);
            case recovery::RebuildOutcome::NoSet:
            case recovery::RebuildOutcome::NotEnough:
            case recovery::RebuildOutcome::TooManyLost:
            case recovery::RebuildOutcome::Unsolvable:
            case recovery::RebuildOutcome::WrongResult:
                return damaged(w, damageMessage(firstLost(check), plan, sep));
        }
        switch (run.merge.result) {
            case MergeResult::Joined:
                return joined(w, plan, u"\r" + rebuiltLine(run.rebuilt));
            case MergeResult::PieceDamaged:
                return damaged(w, damageMessage(set.names[*run.merge.piece], plan, sep));
            case MergeResult::WholeDiffers:
                return damaged(w, damageMessage(Text(), plan, sep));
            case MergeResult::Stopped:
                return stopped(w, watch);
        }
        return AfterJob::Stay;
    }
}

// A checked merge found a damaged piece: what the recovery data can do, asked
// when it can rebuild it, or said when it falls short.
AfterJob offerRebuild(MainControls& w, FileSystem& fs, const MergePlan& plan,
                      const MergeOutcome& outcome, StopCheck& watch, RunReport& report) {
    const Text message = damageMessage(plan.pieces[*outcome.piece], plan, fs.separator());
    const auto set = repairSetOf(fs, plan);
    if (!set) {
        return damaged(w, message);
    }
    auto check = checkRepair(fs, *set, *outcome.piece, report.fn());
    if (!check) {
        return stopped(w, watch);
    }
    if (!check->setFound || !check->anyDamage()) {
        return damaged(w, message);
    }
    if (!check->repairable()) {
        return damaged(w,
                       message + u"\r" + shortfallLine(check->lostSlices, check->recoverySlices()));
    }
    if (w.messages.show(rebuildQuestion(*check), mb::Question | mb::YesNo) != mb::Yes) {
        resetDisplay(w);
        return AfterJob::Stay;
    }
    return joinRebuilt(w, fs, plan, *set, std::move(*check), watch, report);
}

AfterJob merge(MainControls& w, FileSystem& fs) {
    MergeRequest request{w.Text4.text(), {}, true};
    request.pieces.reserve(static_cast<std::size_t>(w.List1.count()));
    for (std::int64_t i = 0; i < w.List1.count(); ++i) {
        request.pieces.push_back(w.List1.item(i));
    }
    auto checked = planMerge(fs, request);
    if (const auto* refused = std::get_if<MergeRefusal>(&checked)) {
        showRefusal(w, refusalBox(*refused));
        return AfterJob::Stay;
    }
    const MergePlan& plan = std::get<MergePlan>(checked);
    // A list that lacks only missing pieces the recovery data can rebuild is
    // asked about as a rebuild, not as a list that differs. Only the recovery
    // files are read: the pieces that are there are taken as sound.
    const auto set = repairSetOf(fs, plan);
    std::optional<recovery::RecoveryCheck> missing;
    if (plan.checks.status == ChecksumStatus::Differs && set && leavesOutMissing(*set)) {
        missing = checkRepair(fs, *set, plan.pieces.size(), {});
        if (missing && !(missing->setFound && missing->repairable())) {
            missing.reset();
        }
    }
    if (missing) {
        if (w.messages.show(rebuildQuestion(*missing), mb::Question | mb::YesNo) != mb::Yes) {
            return AfterJob::Stay;
        }
    } else if (!acceptChecks(w, fs, plan.checks)) {
        return AfterJob::Stay;
    }
    if (plan.replacesExisting) {
        const Text question = u"文件  " + plan.output + u"  已存在，是否要覆盖？";
        if (w.messages.show(question, mb::Question | mb::YesNo | mb::DefaultButton2) == mb::No) {
            w.Text4.selectAll();
            w.Text4.setFocus();
            return AfterJob::Stay;
        }
    }
    if (w.messages.show(u"确定要合并文件  " + plan.output + u"  吗？", mb::Question | mb::YesNo) ==
        mb::No) {
        return AfterJob::Stay;
    }

    StopCheck watch(w, u"确定要停止合并吗？");
    RunReport report(w, watch);
    if (missing) {
        return joinRebuilt(w, fs, plan, *set, std::move(*missing), watch, report);
    }
    report.restart(plan.pieces.size());
    const MergeOutcome outcome = runMerge(fs, plan, report.fn());
    switch (outcome.result) {
        case MergeResult::Joined:
            return joined(w, plan, Text());
        case MergeResult::PieceDamaged:
            return offerRebuild(w, fs, plan, outcome, watch, report);
        case MergeResult::WholeDiffers:
            return damaged(w, damageMessage(Text(), plan, fs.separator()));
        case MergeResult::Stopped:
            return stopped(w, watch);
    }
    return AfterJob::Stay;
}

}  // namespace

AfterJob startMerge(MainControls& window, FileSystem& fs) {
    try {
        return merge(window, fs);
    } catch (...) {
        reportCurrentError(ErrorTable::Full, window.messages);
        resetDisplay(window);
    }
    return AfterJob::Stay;
}

}  // namespace tessark
