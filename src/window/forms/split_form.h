// SPDX-License-Identifier: MIT
// The split side of the main window: the source browse and Start split, over
// the value-level split.
#pragma once

#include <cstdint>

#include "engine/core/text.h"
#include "forms/job.h"

namespace tessark {

struct MainControls;
class FileSystem;

// Start split: checks the inputs, asks, cuts the source into pieces, fills the
// merge list and name, writes the join script and reports. A stop asked
// through the window (Esc, the close box, Exit) and confirmed removes the
// pieces made and gives the list and the merge name back as they were.
AfterJob startSplit(MainControls& window, FileSystem& fs);

// Browse for the source (the source browse button): the shared dialog with
// flags 4100; a chosen file is taken as by takeSource.
void browseSource(MainControls& window, FileSystem& fs);

// "文件大小：N KB" with N the whole kilobytes: Label2 for a source of `bytes`.
Text sizeCaption(std::int64_t bytes);

// Whether a proposed merge name came from a name holding a "$" (the split's
// target, the chosen first piece): the caret then goes to the name's end.
bool hasDollar(const Text& name);

// Takes `path` as the source without the dialog: fills Text1, Text2 (the
// proposed target) and Label2 (its size).
void takeSource(MainControls& window, FileSystem& fs, const Text& path);

}  // namespace tessark
