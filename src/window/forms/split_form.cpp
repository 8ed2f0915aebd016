// SPDX-License-Identifier: MIT
#include "forms/split_form.h"

#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/split/split_plan.h"
#include "engine/split/split_settings.h"
#include "forms/controls.h"
#include "forms/error_report.h"
#include "forms/job.h"
#include "forms/refusal_box.h"

namespace tessark {

namespace {

SplitRequest requestFrom(MainControls& window) {
    SplitRequest request;
    request.source = window.Text1.text();
    request.target = window.Text2.text();
    request.writeChecksum = true;
    // One recovery slice rebuilds any one lost or damaged piece.
    request.recoverySlices = 1;
    request.block = window.Option1.selected() ? BlockSize::floppy()
                                              : BlockSize::typedKilobytes(window.Text3.text());
    return request;
}

// The merge list and name as they were before a run, given back when it is
// stopped.
struct ListBefore {
    std::vector<Text> items;
    std::int64_t selected = -1;
    Text mergeName;
};

ListBefore remember(MainControls& window) {
    ListBefore before;
    before.items.reserve(static_cast<std::size_t>(window.List1.count()));
    for (std::int64_t i = 0; i < window.List1.count(); ++i) {
        before.items.push_back(window.List1.item(i));
    }
    before.selected = window.List1.selectedIndex();
    before.mergeName = window.Text4.text();
    return before;
}

void giveBack(MainControls& window, const ListBefore& before, bool nameProposed) {
    window.List1.clear();
    window.List1.addItems(before.items);
    if (before.selected >= 0) {
        window.List1.setSelectedIndex(before.selected);
    }
    if (nameProposed) {
        window.Text4.setText(before.mergeName);
    }
}

AfterJob split(MainControls& window, FileSystem& fs) {
    auto checked = planSplit(fs, requestFrom(window));
    if (const auto* refused = std::get_if<SplitRefusal>(&checked)) {
        showRefusal(window, refusalBox(*refused));
        return AfterJob::Stay;
    }
    const SplitPlan& plan = std::get<SplitPlan>(checked);
    if (window.messages.show(u"确定要分割文件  " + plan.source + u"  吗？", mb::YesNo) == mb::No) {
        return AfterJob::Stay;
    }

    const ListBefore before = remember(window);
    window.List1.clear();
    showBusy(window, static_cast<double>(plan.length / plan.block));

    // Each piece joins the list once it is complete; the bar shows, as each
    // piece begins, its 1-based position over the block.
    StopCheck stop(window, u"确定要停止分割吗？");
    std::int64_t listed = 0;
    std::int64_t started = 0;
    bool nameProposed = false;
    const auto onProgress = [&](const Progress& p) {
        for (; listed < p.piecesDone; ++listed) {
            window.List1.addItem(plan.piece(listed).name);
        }
        if (p.piecesDone == started && started < p.piecesTotal) {
            window.ProgressBar1.setValue(static_cast<double>((p.bytesDone + 1) / plan.block));
            ++started;
        }
        if (p.piecesDone == p.piecesTotal && !nameProposed) {
            window.Text4.setText(plan.mergeName);
            if (hasDollar(plan.target)) {
                window.Text4.caretToEnd();
            }
            nameProposed = true;
        }
        return stop.goOn();
    };
    if (runSplit(fs, plan, onProgress) == RunOutcome::Stopped) {
        giveBack(window, before, nameProposed);
        resetDisplay(window);
        window.messages.show(u"分割已停止。", mb::Information);
        return stop.after();
    }

    resetDisplay(window);
    window.messages.show(plan.source +
                             u" 分割完成!\r\r你可以执行分割文件目录下的 Link "
                             u"程序合并文件\r也可以用合并功能合并文件!",
                         mb::Information, kAppTitle);
    return AfterJob::Stay;
}

}  // namespace

Text sizeCaption(std::int64_t bytes) {
    return u"文件大小：" + decimal(bytes / 1024) + u" KB";
}

bool hasDollar(const Text& name) {
    return name.find(u'$') != Text::npos;
}

AfterJob startSplit(MainControls& window, FileSystem& fs) {
    try {
        return split(window, fs);
    } catch (...) {
        reportCurrentError(ErrorTable::Full, window.messages);
        resetDisplay(window);
    }
    return AfterJob::Stay;
}

void takeSource(MainControls& window, FileSystem& fs, const Text& path) {
    window.Text1.setText(path);
    window.Text2.setText(DeriveTargetName(path));
    try {
        window.Label2.setCaption(sizeCaption(fs.fileLength(path)));
    } catch (const RuntimeError&) {
        // The file went away after it was chosen: the old caption stays, and
        // the split's own checks will say what is wrong.
    }
}

void browseSource(MainControls& window, FileSystem& fs) {
    CommonDialog& dialog = window.CommonDialog1;
    dialog.flags = cdl::HideReadOnly | cdl::FileMustExist;
    dialog.showOpen();
    const Text name = dialog.fileName;
    if (!name.empty()) {
        takeSource(window, fs, name);
    }
}

}  // namespace tessark
