// SPDX-License-Identifier: MIT
#include "forms/merge_form.h"

#include "engine/core/file_system.h"
#include "engine/merge/merge_plan.h"
#include "forms/controls.h"
#include "forms/error_report.h"
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

void resetDisplay(MainControls& w) {
    w.mousePointer.setPointer(pointer::Default);
    w.ProgressBar1.setValue(0);
    w.ProgressBar1.setVisible(false);
}

void merge(MainControls& w, FileSystem& fs) {
    MergeRequest request{w.Text4.text(), {}, true};
    request.pieces.reserve(static_cast<std::size_t>(w.List1.count()));
    for (std::int64_t i = 0; i < w.List1.count(); ++i) {
        request.pieces.push_back(w.List1.item(i));
    }
    auto checked = planMerge(fs, request);
    if (const auto* refused = std::get_if<MergeRefusal>(&checked)) {
        showRefusal(w, refusalBox(*refused));
        return;
    }
    const MergePlan& plan = std::get<MergePlan>(checked);
    if (!acceptChecks(w, fs, plan.checks)) {
        return;
    }
    if (plan.replacesExisting) {
        const Text question = u"文件  " + plan.output + u"  已存在，是否要覆盖？";
        if (w.messages.show(question, mb::Question | mb::YesNo | mb::DefaultButton2) == mb::No) {
            w.Text4.selectAll();
            w.Text4.setFocus();
            return;
        }
    }
    if (w.messages.show(u"确定要合并文件  " + plan.output + u"  吗？", mb::Question | mb::YesNo) ==
        mb::No) {
        return;
    }

    w.mousePointer.setPointer(pointer::Hourglass);
    const auto n = static_cast<std::int64_t>(plan.pieces.size());
    w.ProgressBar1.setMaximum(static_cast<double>(n - 1));
    w.ProgressBar1.setValue(0);
    w.ProgressBar1.setVisible(true);

    // The bar shows the index of the piece being joined as it begins; one
    // throttle for the whole run, so a set of small pieces repaints too.
    ThrottledRepaint repaint(w.repaint);
    std::int64_t started = 0;
    try {
        runMerge(fs, plan, [&](const Progress& p) {
            if (p.piecesDone == started && started < p.piecesTotal) {
                w.ProgressBar1.setValue(static_cast<double>(started));
                ++started;
            }
            repaint.repaint();
            return true;
        });
    } catch (const MergeDamaged& damage) {
        w.messages.show(damageMessage(plan, damage, fs.separator()), mb::Critical);
        resetDisplay(w);
        return;
    }

    w.StatusBar1.setPanelText(1, Text());
    w.mousePointer.setPointer(pointer::Default);
    w.messages.show(plan.output + u"合并完成!", mb::Information);
    w.ProgressBar1.setValue(0);
    w.ProgressBar1.setVisible(false);
}

}  // namespace

void startMerge(MainControls& window, FileSystem& fs) {
    try {
        merge(window, fs);
    } catch (...) {
        reportCurrentError(ErrorTable::Full, window.messages);
        resetDisplay(window);
    }
}

}  // namespace tessark
