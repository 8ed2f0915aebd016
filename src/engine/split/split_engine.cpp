// SPDX-License-Identifier: MIT
#include "engine/split/split_engine.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "engine/core/controls.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/errors/disk_error_report.h"
#include "engine/split/join_script.h"
#include "engine/split/split_settings.h"

namespace tessark {

namespace {

constexpr char16_t kNoSource[] = u"没有指定源文件!";
constexpr char16_t kNoBlockSize[] = u"分割块大小没有指定!";
constexpr char16_t kTargetExists[] = u"指定的目标文件已经存在，请重新取名!";

// A block size too large to hold counts as larger than any file.
constexpr std::int64_t kHugeBlock = std::numeric_limits<std::int64_t>::max();

void refuse(MainControls& window, const Text& prompt, int style) {
    window.messages.show(prompt, style, kAppTitle);
}

void selectAndFocus(TextBox& box) {
    box.selectAll();
    box.setFocus();
}

// The block size from the custom box, or nothing after refusing it.
std::optional<std::int64_t> customBlockSize(MainControls& window) {
    const Text raw = window.Text3.text();
    if (raw.empty()) {
        refuse(window, kNoBlockSize, mb::Information);
        window.Text3.setFocus();
        return std::nullopt;
    }
    const double kilobytes = leadingNumber(trimSpaces(raw));
    // A size that rounds to no bytes at all is no size either.
    const auto bytes =
        kilobytes > 0 ? roundHalfEven(kilobytes * 1024) : std::optional<std::int64_t>(0);
    if (bytes && *bytes <= 0) {
        refuse(window, kNoBlockSize, mb::Information);
        window.Text3.setFocus();
        return std::nullopt;
    }
    return bytes.value_or(kHugeBlock);
}

// Whether writing a piece or the script would overwrite the source itself:
// every name is compared with the source, as text and as a file, so that no
// link or other spelling of the source (through a linked folder too) is ever
// emptied.
bool sourceIsATarget(FileSystem& fs, const Text& source, const FileId& sourceId, const Text& target,
                     std::int64_t pieceCount) {
    const auto isSource = [&](const Text& name) {
        return name == source || fs.fileId(name) == sourceId;
    };
    for (std::int64_t number = 1; number <= pieceCount; ++number) {
        if (isSource(pieceName(target, number))) {
            return true;
        }
    }
    return isSource(joinScriptPath(target, fs.separator()));
}

// Copies one piece; a piece that could not be written whole is removed.
void writePiece(FileSystem& fs, InputFile& source, std::int64_t offset, std::int64_t size,
                const Text& name, RepaintHook& repaint) {
    // Refused (error 70) when the name has come to reach the source since the
    // check; nothing is removed then.
    auto piece = fs.createFile(name, source.id());
    try {
        copyBytes(fs, source, offset, *piece, 0, size, repaint);
        piece->close();
    } catch (...) {
        piece.reset();
        fs.removeFile(name);
        throw;
    }
}

// The merge name for the first piece: "name$.ext.001" gives "name(1).ext",
// beside the source; without a "$" the target itself.
void proposeMergeName(MainControls& window, const Text& firstPiece) {
    const auto dollar = lastIndexOf(firstPiece, u'$');
    const auto dot = lastIndexOf(firstPiece, u'.');
    if (dollar != Text::npos && dot != Text::npos && dollar < dot) {
        window.Text4.setText(firstPiece.substr(0, dollar) + u"(1)" +
                             firstPiece.substr(dollar + 1, dot - dollar - 1));
        window.Text4.caretToEnd();
    } else {
        window.Text4.setText(firstPiece.substr(0, dot));
    }
}

void split(MainControls& window, FileSystem& fs) {
    const char16_t separator = fs.separator();
    const Text separatorText(1, separator);

    const Text source = trimSpaces(window.Text1.text());
    if (source.empty()) {
        refuse(window, kNoSource, mb::Exclamation);
        window.Text1.setFocus();
        return;
    }
    if (endsWith(source, separatorText)) {
        refuse(window, kNoSource, mb::Exclamation);
        selectAndFocus(window.Text1);
        return;
    }
    if (!fs.fileExists(source)) {
        refuse(window, u"源文件  " + source + u"  不存在!", mb::Exclamation);
        selectAndFocus(window.Text1);
        return;
    }

    const Text target = trimSpaces(window.Text2.text());
    if (target.empty()) {
        refuse(window, u"没有指定分割后的文件!", mb::Exclamation);
        window.Text2.setFocus();
        return;
    }
    if (endsWith(target, separatorText)) {
        refuse(window, u"目标文件框中只指定了文件夹，请指定文件名", mb::Exclamation);
        window.Text2.caretToEnd();
        window.Text2.setFocus();
        return;
    }
    if (fs.fileExists(target)) {
        refuse(window, kTargetExists, mb::Information);
        selectAndFocus(window.Text2);
        return;
    }
    // A bare name has no folder to put the pieces and the script in.
    const auto folder = folderToLookUp(target, separator);
    if (!folder || !fs.folderExists(*folder)) {
        refuse(window, u"目标文件中的路径不存在!", mb::Exclamation);
        selectAndFocus(window.Text2);
        return;
    }

    std::int64_t block = kFloppyBlock;
    if (!window.Option1.selected()) {
        const auto custom = customBlockSize(window);
        if (!custom) {
            return;
        }
        block = *custom;
    }
    const std::int64_t length = fs.fileLength(source);
    if (block > length) {
        refuse(window, u"块文件比要分割的文件还要大!没必要分割!", mb::Information);
        return;
    }
    const std::int64_t pieceCount = length / block + (length % block != 0 ? 1 : 0);

    // Truncating a piece or the script must never destroy the file being cut.
    const auto sourceId = fs.fileId(source);
    if (!sourceId) {
        raise(err::FileNotFound);  // gone since it was found
    }
    if (sourceIsATarget(fs, source, *sourceId, target, pieceCount)) {
        refuse(window, kTargetExists, mb::Information);
        selectAndFocus(window.Text2);
        return;
    }

    if (window.messages.show(u"确定要分割文件  " + source + u"  吗？", mb::YesNo) == mb::No) {
        return;
    }

    window.List1.clear();
    window.mousePointer.setPointer(pointer::Hourglass);
    window.ProgressBar1.setMaximum(static_cast<double>(length / block));
    window.ProgressBar1.setValue(0);
    window.ProgressBar1.setVisible(true);

    ThrottledRepaint repaint(window.repaint);
    {
        const auto input = fs.openRead(source);
        std::int64_t offset = 0;
        for (std::int64_t number = 1; offset < length; ++number) {
            const std::int64_t size = std::min(block, length - offset);
            const Text name = pieceName(target, number);
            // The 1-based position over the block: the number of pieces done.
            window.ProgressBar1.setValue(static_cast<double>((offset + 1) / block));
            repaint.repaint();
            writePiece(fs, *input, offset, size, name, repaint);
            window.List1.addItem(name);
            offset += size;
        }
    }

    proposeMergeName(window, window.List1.item(0));

    std::vector<Text> pieces;
    pieces.reserve(static_cast<std::size_t>(window.List1.count()));
    for (std::int64_t i = 0; i < window.List1.count(); ++i) {
        pieces.push_back(window.List1.item(i));
    }
    writeJoinScript(fs, target, pieces, window.Text4.text(), *sourceId);

    window.ProgressBar1.setValue(0);
    window.ProgressBar1.setVisible(false);
    window.mousePointer.setPointer(pointer::Default);
    window.messages.show(source +
                             u" 分割完成!\r\r你可以执行分割文件目录下的 Link "
                             u"程序合并文件\r也可以用合并功能合并文件!",
                         mb::Information, kAppTitle);
}

}  // namespace

void startSplit(MainControls& window, FileSystem& fs) {
    try {
        split(window, fs);
    } catch (...) {
        DiskErrorReport(currentErrorNumber(), ErrorTable::Full, window.messages);
        window.ProgressBar1.setValue(0);
        window.ProgressBar1.setVisible(false);
        window.mousePointer.setPointer(pointer::Default);
    }
}

}  // namespace tessark
