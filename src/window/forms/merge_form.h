// SPDX-License-Identifier: MIT
// Start merge: checks the output name, asks, and joins the listed pieces byte
// for byte, in list order, into the output.
#pragma once

namespace tessark {

struct MainControls;
class FileSystem;

void startMerge(MainControls& window, FileSystem& fs);

}  // namespace tessark
