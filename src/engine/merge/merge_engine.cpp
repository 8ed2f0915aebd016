// SPDX-License-Identifier: MIT
#include "engine/merge/merge_engine.h"

#include <memory>

#include "engine/core/controls.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/errors/disk_error_report.h"

namespace tessark {

namespace {

void rejectName(MainControls& w, const Text& message) {
    w.messages.show(message, mb::Exclamation);
    w.Text4.selectAll();
    w.Text4.setFocus();
}

void runMerge(MainControls& w, FileSystem& fs) {
    const char16_t sep = fs.separator();
    const Text output = trimSpaces(w.Text4.text());
    if (output.empty()) {
        w.messages.show(u"没有指定合并后的文件名!", mb::Exclamation);
        w.Text4.setFocus();
        return;
    }
    if (output.back() == sep) {
        rejectName(w, u"目标文件框中只指定了文件夹，请指定文件名");
        return;
    }
    // A name without any separator has no folder to look up: refused like a
    // folder that does not exist, rather than ending without a word.
    const auto folder = folderToLookUp(output, sep);
    if (!folder || !fs.folderExists(*folder)) {
        rejectName(w, u"合并后的存储文件的路径不存在!");
        return;
    }
    if (w.List1.count() == 0) {
        w.messages.show(u"没有项目供合并!", mb::Exclamation);
        return;
    }
    // Hidden files count: replacing one without asking would lose it.
    if (fs.fileExists(output)) {
        const Text question = u"文件  " + output + u"  已存在，是否要覆盖？";
        if (w.messages.show(question, mb::Question | mb::YesNo | mb::DefaultButton2) == mb::No) {
            w.Text4.selectAll();
            w.Text4.setFocus();
            return;
        }
    }
    if (w.messages.show(u"确定要合并文件  " + output + u"  吗？", mb::Question | mb::YesNo) ==
        mb::No) {
        return;
    }

    w.mousePointer.setPointer(pointer::Hourglass);
    const std::int64_t n = w.List1.count();
    w.ProgressBar1.setMaximum(static_cast<double>(n - 1));
    w.ProgressBar1.setValue(0);
    w.ProgressBar1.setVisible(true);

    // The merged bytes take the output's place only once every piece has been
    // copied: a failure, a stop or a kill leaves whatever the output name held
    // as it was, which is also what lets a piece be merged into its own name.
    const auto staged = fs.createStaged(output);
    // One throttle for the whole run: a set of small pieces repaints too.
    ThrottledRepaint repaint(w.repaint);
    std::int64_t position = 0;
    for (std::int64_t i = 0; i < w.List1.count(); ++i) {
        const Text piece = w.List1.item(i);
        // A piece that has gone fails here, before anything of it is written.
        const std::int64_t length = fs.fileLength(piece);
        w.ProgressBar1.setValue(static_cast<double>(i));
        repaint.repaint();
        const auto in = fs.openRead(piece);
        copyBytes(fs, *in, 0, *staged, position, length, repaint);
        position += length;
    }
    staged->commit();

    w.StatusBar1.setPanelText(1, Text());
    w.mousePointer.setPointer(pointer::Default);
    w.messages.show(output + u"合并完成!", mb::Information);
    w.ProgressBar1.setValue(0);
    w.ProgressBar1.setVisible(false);
}

}  // namespace

void startMerge(MainControls& window, FileSystem& fs) {
    try {
        runMerge(window, fs);
    } catch (...) {
        DiskErrorReport(currentErrorNumber(), ErrorTable::Full, window.messages);
        window.mousePointer.setPointer(pointer::Default);
        window.ProgressBar1.setValue(0);
        window.ProgressBar1.setVisible(false);
    }
}

}  // namespace tessark
