// SPDX-License-Identifier: MIT
// Start split: checks the inputs, asks, cuts the source into pieces, fills the
// merge list and name, writes the join script and reports.
#pragma once

namespace tessark {

struct MainControls;
class FileSystem;

void startSplit(MainControls& window, FileSystem& fs);

}  // namespace tessark
