// SPDX-License-Identifier: MIT
#include "forms/desktop_files.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>
#include <variant>

#include "engine/core/file_system.h"
#include "engine/core/piece_names.h"
#include "engine/split/split_plan.h"
#include "forms/controls.h"
#include "forms/merge_list.h"
#include "forms/refusal_box.h"
#include "forms/split_form.h"

namespace tessark {

namespace {

// Pieces in the order of their numbers; other files after them, as given.
std::vector<Text> inPieceOrder(const std::vector<Text>& files, char16_t separator) {
    std::vector<std::pair<std::optional<PieceNumber>, Text>> keyed;
    for (const Text& path : files) {
        keyed.emplace_back(trailingPieceNumber(GetFileName(path, separator)), path);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first && b.first) {
            return *a.first < *b.first;
        }
        return a.first.has_value() && !b.first.has_value();
    });
    std::vector<Text> paths;
    for (auto& entry : keyed) {
        paths.push_back(std::move(entry.second));
    }
    return paths;
}

// What a split of `path` would say about its source, if anything: a file
// that is not there is reported in the split's own words.
std::optional<SplitRefusal> sourceRefusal(FileSystem& fs, const Text& path) {
    SplitRequest request;
    request.source = path;
    auto checked = planSplit(fs, request);
    auto* refusal = std::get_if<SplitRefusal>(&checked);
    if (refusal == nullptr ||
        (refusal->check != SplitCheck::NoSource && refusal->check != SplitCheck::SourceIsFolder &&
         refusal->check != SplitCheck::SourceMissing)) {
        return std::nullopt;
    }
    return std::move(*refusal);
}

bool listed(const ListBox& list, const Text& path) {
    for (std::int64_t i = 0; i < list.count(); ++i) {
        if (list.item(i) == path) {
            return true;
        }
    }
    return false;
}

// Adds several files to the merge list, each as Add would. A file that an
// earlier one of the same batch brought in with its set is not added again:
// a set handed over whole would otherwise report every piece after the first
// as already listed. Nor is a numbered file beside a set its checksum file
// lists that the file leaves out: the set's box has counted it, and joining
// it would make another file.
class PieceBatch {
  public:
    PieceBatch(MainControls& window, FileSystem& fs) : window_(window), fs_(fs) {
        for (std::int64_t i = 0; i < window.List1.count(); ++i) {
            before_.insert(window.List1.item(i));
        }
    }
    void add(const Text& path) {
        if (!before_.contains(path) && listed(window_.List1, path)) {
            return;
        }
        const char16_t sep = fs_.separator();
        const Text folder = folderPart(path, sep).value_or(Text());
        const Text name = GetFileName(path, sep);
        for (const auto& [setFolder, fixedPart] : listedSets_) {
            if (setFolder == folder && pieceNumberAfter(name, fixedPart)) {
                return;
            }
        }
        if (addPiecesFrom(window_, fs_, path)) {
            listedSets_.emplace_back(folder, fixedPartOf(path, sep));
        }
    }

  private:
    MainControls& window_;
    FileSystem& fs_;
    std::set<Text> before_;
    std::vector<std::pair<Text, Text>> listedSets_;  // folder, fixed part
};

bool allExist(FileSystem& fs, const std::vector<Text>& files) {
    return std::all_of(files.begin(), files.end(),
                       [&fs](const Text& file) { return fs.fileExists(file); });
}

}  // namespace

void openFiles(MainControls& window, FileSystem& fs, const std::vector<Text>& paths) {
    PieceBatch pieces(window, fs);
    for (const Text& file : paths) {
        if (const auto refused = sourceRefusal(fs, file)) {
            const RefusalBox box = refusalBox(*refused);
            window.messages.show(box.message, box.style);
        } else if (trailingPieceNumber(GetFileName(file, fs.separator()))) {
            pieces.add(file);
        } else {
            takeSource(window, fs, file);
        }
    }
}

bool sourceDropWanted(FileSystem& fs, const std::vector<Text>& files) {
    return files.size() == 1 && allExist(fs, files);
}

bool piecesDropWanted(FileSystem& fs, const std::vector<Text>& files) {
    return !files.empty() && allExist(fs, files);
}

bool dropSource(MainControls& window, FileSystem& fs, const std::vector<Text>& files) {
    if (!sourceDropWanted(fs, files)) {
        return false;
    }
    takeSource(window, fs, files.front());
    return true;
}

bool dropPieces(MainControls& window, FileSystem& fs, const std::vector<Text>& files) {
    if (!piecesDropWanted(fs, files)) {
        return false;
    }
    PieceBatch pieces(window, fs);
    for (const Text& path : inPieceOrder(files, fs.separator())) {
        pieces.add(path);
    }
    return true;
}

}  // namespace tessark
