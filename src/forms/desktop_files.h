// SPDX-License-Identifier: MIT
// Files handed to the main window from outside: those named on the command
// line ("Open with" from a file manager) and those dropped onto its split or
// merge area. Each does what the browse button of its side would do with that
// file. Every toolkit turns its own events into these calls.
#pragma once

#include <vector>

#include "engine/core/text.h"

namespace tessark {

struct MainControls;
class FileSystem;

// Takes absolute paths in turn: a piece number goes to the merge list as Add
// would add it, any other file becomes the source, a name that is not a file
// gets the split's own message. A piece that an earlier file brought in with
// its set is not added twice.
void openFiles(MainControls& window, FileSystem& fs, const std::vector<Text>& paths);

// Whether the split area takes a drop of `files`: one file, which exists. Of
// several, none would say which is meant.
bool sourceDropWanted(FileSystem& fs, const std::vector<Text>& files);
// Whether the merge area takes them: files (no folders) that all exist.
bool piecesDropWanted(FileSystem& fs, const std::vector<Text>& files);

// A drop on the split area, once the drop is over: the file becomes the
// source. False, and nothing done, when the area does not take the files.
bool dropSource(MainControls& window, FileSystem& fs, const std::vector<Text>& files);
// A drop on the merge area: each file added as Add would add it, in the order
// of their piece numbers, other files after them. False, and nothing done,
// when the area does not take the files.
bool dropPieces(MainControls& window, FileSystem& fs, const std::vector<Text>& files);

}  // namespace tessark
