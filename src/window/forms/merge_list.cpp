// SPDX-License-Identifier: MIT
#include "forms/merge_list.h"

#include <unordered_set>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/piece_names.h"
#include "engine/set/piece_set.h"
#include "engine/set/set_recovery.h"
#include "forms/controls.h"
#include "forms/split_form.h"

namespace tessark {

namespace {

constexpr char16_t kPieceFilter[] =
    u"分割文件[*.001]|*.001|"
    u"次分割文件[*.002,*.003,*.004,*.005,*.006,*.007,*.008,*.009]|"
    u"*.002;*.003;*.004;*.005;*.006;*.007;*.008;*.009|"
    u"所有文件[*.*]|*.*";
constexpr char16_t kAlreadyListed[] = u"该文件已存在列表中!";

// The warning Add gives after listing a set: the first missing piece, and
// the numbered files beside the set that its checksum file leaves out, in
// one box. Empty when there is nothing to say.
Text setWarning(const PieceSet& set, char16_t separator) {
    Text text;
    if (!set.missing.empty()) {
        text = u"文件不完整，缺少 " + set.missing.front() + u" !";
        if (set.recovery.canRebuild()) {
            text += u"（可以用恢复数据重建）";
        }
    }
    if (set.leftovers.count > 0) {
        text += (text.empty() ? u"" : u"\r") + Text(u"另有 ") + decimal(set.leftovers.count) +
                u" 个文件（如 " + set.leftovers.first + u"）不在校验文件 " +
                GetFileName(set.checksums.path, separator) + u" 中，未加入合并列表。";
    }
    return text;
}

// Lists the set of `chosen` after the entries already there, all in one
// change of the list: the pieces its checksum file lists that are there, or
// without one the pieces found by their numbers. A member already listed (by
// path or bare name) stops the Add: the members before it stay listed, and
// no name is proposed.
bool addPieceSet(MainControls& w, FileSystem& fs, const Text& chosen) {
    PieceSet set = readPieceSet(fs, chosen);
    if (set.missingCount > 0) {
        lookUpRecovery(fs, set);  // reads the recovery files, not the pieces
    }
    const PieceList members = set.present();
    std::unordered_set<Text> listed;
    const std::int64_t count = w.List1.count();
    listed.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        listed.insert(w.List1.item(i));
    }
    std::vector<Text> added;
    added.reserve(static_cast<std::size_t>(members.size()));
    for (std::int64_t i = 0; i < members.size(); ++i) {
        Text path = members[i];
        if (listed.contains(path) || listed.contains(GetFileName(path, fs.separator()))) {
            w.List1.addItems(added);
            w.messages.show(kAlreadyListed, mb::Information);
            return set.listed();
        }
        added.push_back(std::move(path));
    }
    w.List1.addItems(added);
    w.Text4.setText(set.proposedOutput);
    if (hasDollar(chosen)) {
        w.Text4.caretToEnd();
    }
    // The pieces that are there are listed; a merge of them would leave a
    // hole where the missing one belongs.
    const Text warning = setWarning(set, fs.separator());
    if (!warning.empty()) {
        w.messages.show(warning, mb::Exclamation);
    }
    return set.listed();
}

}  // namespace

void addPieces(MainControls& window, FileSystem& fs) {
    CommonDialog& dialog = window.CommonDialog1;
    // The filter stays set for the source browse that uses the dialog next.
    dialog.flags = cdl::FileMustExist | cdl::HideReadOnly;
    dialog.filter = kPieceFilter;
    dialog.fileName.clear();
    dialog.showOpen();
    const Text chosen = dialog.fileName;
    if (!chosen.empty()) {
        addPiecesFrom(window, fs, chosen);
    }
}

bool addPiecesFrom(MainControls& window, FileSystem& fs, const Text& chosen) {
    if (isFirstPiece(chosen)) {
        return addPieceSet(window, fs, chosen);
    }
    for (std::int64_t i = 0; i < window.List1.count(); ++i) {
        if (window.List1.item(i) == chosen) {
            window.messages.show(kAlreadyListed, mb::Information);
            return false;
        }
    }
    window.List1.addItem(chosen);
    return false;
}

// Selecting from the program counts as a click on the list, so the list's
// tooltip follows each of the selections below without being set here.

void removeSelected(MainControls& window) {
    ListBox& list = window.List1;
    const std::int64_t i = list.selectedIndex();
    if (i < 0 || i >= list.count()) {
        return;
    }
    list.removeItem(i);
    if (i - 1 >= 0) {
        list.setSelectedIndex(i - 1);
    } else if (list.count() > 0) {
        list.setSelectedIndex(0);
    }
}

void clearList(MainControls& window) {
    window.List1.clear();
}

namespace {

void swapItems(ListBox& list, std::int64_t a, std::int64_t b) {
    const Text first = list.item(a);
    list.setItem(a, list.item(b));
    list.setItem(b, first);
}

}  // namespace

void moveDown(MainControls& window) {
    ListBox& list = window.List1;
    const std::int64_t i = list.selectedIndex();
    if (i < 0 || i + 1 >= list.count()) {
        return;
    }
    swapItems(list, i, i + 1);
    list.setSelectedIndex(i + 1);
}

void moveUp(MainControls& window) {
    ListBox& list = window.List1;
    const std::int64_t i = list.selectedIndex();
    if (i <= 0 || i >= list.count()) {
        return;
    }
    swapItems(list, i, i - 1);
    list.setSelectedIndex(i - 1);
}

void showPath(MainControls& window) {
    ListBox& list = window.List1;
    const std::int64_t i = list.selectedIndex();
    list.setToolTip(i >= 0 && i < list.count() ? list.item(i) : Text());
}

}  // namespace tessark
