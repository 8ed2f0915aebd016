// SPDX-License-Identifier: MIT
#include "forms/merge_form.h"

#include "engine/core/file_system.h"
#include "engine/merge/merge_plan.h"
#include "forms/controls.h"
#include "forms/error_report.h"
#include "forms/job.h"
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
Text damageMessage(const MergePlan& plan, const MergeDamaged& damage, char16_t separator) {
    if (damage.piece) {
        return u"文件 " + GetFileName(plan.pieces[*damage.piece], separator) +
               u" 已损坏（校验值不符），合并已停止!";
    }
    return u"合并后的文件 " + GetFileName(plan.output, separator) + u" 与校验文件不符，合并已停止!";
}

AfterJob merge(MainControls& w, FileSystem& fs) {
    MergeRequest request{w.Text4.text(), {}, true};
    request.pieces.reserve(static_cast<std::size_t>(w.List1.count()));
    for (std::int64_t i = 0; i < w.List1.count(); ++i) {
        request.pieces.push_back(w.List1.item(i));
    }
    // A stop request is heard while the checksum file is read, too.
    StopWatch watch(w, u"确定要停止合并吗？");
    request.stop = [&watch] { return !watch.goOn(); };
    std::variant<MergeRefusal, MergePlan> checked;
    try {
        checked = planMerge(fs, request);
    } catch (const ReadStopped&) {
        w.messages.show(u"合并已停止。", mb::Information);
        return watch.after();
    }
    if (const auto* refused = std::get_if<MergeRefusal>(&checked)) {
        showRefusal(w, refusalBox(*refused));
        return AfterJob::Stay;
    }
    const MergePlan& plan = std::get<MergePlan>(checked);
    if (!acceptChecks(w, fs, plan.checks)) {
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

    const auto n = static_cast<std::int64_t>(plan.pieces.size());
    showBusy(w, static_cast<double>(n - 1));

    // The bar shows the index of the piece being joined as it begins.
    std::int64_t started = 0;
    RunOutcome outcome = RunOutcome::Completed;
    try {
        outcome = runMerge(fs, plan, [&](const Progress& p) {
            if (p.piecesDone == started && started < p.piecesTotal) {
                w.ProgressBar1.setValue(static_cast<double>(started));
                ++started;
            }
            return watch.goOn();
        });
    } catch (const MergeDamaged& damage) {
        w.messages.show(damageMessage(plan, damage, fs.separator()), mb::Critical);
        resetDisplay(w);
        return AfterJob::Stay;
    }

    w.StatusBar1.setPanelText(1, Text());
    if (outcome == RunOutcome::Stopped) {
        resetDisplay(w);
        w.messages.show(u"合并已停止。", mb::Information);
        return watch.after();
    }
    // The bar stays up at its last value while the completion box is shown.
    w.mousePointer.setPointer(pointer::Default);
    w.messages.show(plan.output + u"合并完成!", mb::Information);
    hideProgress(w);
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
