// SPDX-License-Identifier: MIT
// Files handed to the main window from outside: named on its command line
// ("Open with" from a file manager) or dropped onto its split or merge area.
// Each does what the browse button of its side would do with that file.
#pragma once

#include <vector>

#include "engine/core/text.h"

namespace tessark {

struct MainControls;
class FileSystem;

// Each file in turn: a piece joins the merge list as Add would add it, any
// other file becomes the source as the source browse would take it, one the
// split could not take as its source is reported in the split's words.
void openFiles(MainControls& window, FileSystem& fs, const std::vector<Text>& paths);

// The split area takes one existing file at a time: of several, none would
// say which is meant.
bool takesSourceDrop(FileSystem& fs, const std::vector<Text>& files);
void dropSource(MainControls& window, FileSystem& fs, const std::vector<Text>& files);

// The merge area takes existing files, added in the order of their piece
// numbers, other files after them.
bool takesPieceDrop(FileSystem& fs, const std::vector<Text>& files);
void dropPieces(MainControls& window, FileSystem& fs, const std::vector<Text>& files);

}  // namespace tessark
