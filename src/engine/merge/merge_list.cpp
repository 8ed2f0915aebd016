// SPDX-License-Identifier: MIT
#include "engine/merge/merge_list.h"

#include <algorithm>
#include <vector>

#include "engine/core/controls.h"
#include "engine/core/file_system.h"

namespace tessark {

namespace {

constexpr char16_t kPieceFilter[] =
    u"分割文件[*.001]|*.001|"
    u"次分割文件[*.002,*.003,*.004,*.005,*.006,*.007,*.008,*.009]|"
    u"*.002;*.003;*.004;*.005;*.006;*.007;*.008;*.009|"
    u"所有文件[*.*]|*.*";
constexpr char16_t kAlreadyListed[] = u"该文件已存在列表中!";

// A piece number as found after the name's fixed part: all digits, leading
// zeros dropped, compared by length and then digit by digit, so no number is
// too long to order.
struct FoundPiece {
    Text name;
    Text number;
};

bool isPieceNumber(TextView digits) {
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char16_t c) {
        return c >= u'0' && c <= u'9';
    }) && digits.find_first_not_of(u'0') != TextView::npos;
}

bool byPieceNumber(const FoundPiece& a, const FoundPiece& b) {
    if (a.number.size() != b.number.size()) {
        return a.number.size() < b.number.size();
    }
    return a.number < b.number;
}

// The members of the set whose first piece is `chosen`, in piece order. Only
// names made of `chosen`'s fixed part and a number greater than 0 count, so
// "name.txt" and "name.000" are passed over and "name.1000" follows
// "name.999" whatever order the directory lists them in.
std::vector<FoundPiece> findPieceSet(FileSystem& fs, const Text& chosen) {
    const Text stem = chosen.substr(0, chosen.size() - 3);
    const Text fixedPart = GetFileName(stem, fs.separator());
    std::vector<FoundPiece> pieces;
    for (Text& name : fs.findFiles(stem + u"*")) {
        if (!name.starts_with(fixedPart)) {
            continue;  // matched through a wildcard character in the name itself
        }
        const TextView digits = TextView(name).substr(fixedPart.size());
        if (isPieceNumber(digits)) {
            Text number(digits.substr(digits.find_first_not_of(u'0')));
            pieces.push_back({std::move(name), std::move(number)});
        }
    }
    std::stable_sort(pieces.begin(), pieces.end(), byPieceNumber);
    return pieces;
}

bool listed(const ListBox& list, const Text& path, const Text& bareName) {
    for (std::int64_t i = 0; i < list.count(); ++i) {
        const Text entry = list.item(i);
        if (entry == path || entry == bareName) {
            return true;
        }
    }
    return false;
}

// The output name proposed for the set whose first piece is `chosen`: the
// split's target without its "$" (movie$.avi.001 gives movie.avi), or the
// chosen name without its last extension. Where neither can be formed (no "."
// at all, or the last "$" after the last "."), the chosen name without its
// piece number and any "." left at its end.
void proposeOutputName(MainControls& w, const Text& chosen) {
    const std::size_t dollar = lastIndexOf(chosen, u'$');
    const std::size_t dot = lastIndexOf(chosen, u'.');
    const bool hasDollar = dollar != Text::npos;
    if (dot == Text::npos || (hasDollar && dollar > dot)) {
        Text name = chosen.substr(0, chosen.size() - 3);
        while (!name.empty() && name.back() == u'.') {
            name.pop_back();
        }
        w.Text4.setText(name);
    } else if (hasDollar) {
        w.Text4.setText(chosen.substr(0, dollar) + chosen.substr(dollar + 1, dot - dollar - 1));
    } else {
        w.Text4.setText(chosen.substr(0, dot));
        return;  // the caret stays where it was
    }
    if (hasDollar) {
        w.Text4.caretToEnd();
    }
}

void addPieceSet(MainControls& w, FileSystem& fs, const Text& chosen) {
    const char16_t sep = fs.separator();
    const std::size_t lastSep = lastIndexOf(chosen, sep);
    const Text folder = lastSep == Text::npos ? Text() : chosen.substr(0, lastSep + 1);
    for (const FoundPiece& piece : findPieceSet(fs, chosen)) {
        const Text path = folder + piece.name;
        if (listed(w.List1, path, piece.name)) {
            // The pieces appended so far stay; the name is not proposed.
            w.messages.show(kAlreadyListed, mb::Information);
            return;
        }
        w.List1.addItem(path);
    }
    proposeOutputName(w, chosen);
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
    if (chosen.empty()) {
        return;
    }
    addPiecesFrom(window, fs, chosen);
}

void addPiecesFrom(MainControls& window, FileSystem& fs, const Text& chosen) {
    if (endsWith(chosen, u"001")) {
        addPieceSet(window, fs, chosen);
        return;
    }
    for (std::int64_t i = 0; i < window.List1.count(); ++i) {
        if (window.List1.item(i) == chosen) {
            window.messages.show(kAlreadyListed, mb::Information);
            return;
        }
    }
    window.List1.addItem(chosen);
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
