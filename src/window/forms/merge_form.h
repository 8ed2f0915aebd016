// SPDX-License-Identifier: MIT
// Start merge: checks the output name, asks, and joins the listed pieces byte
// for byte, in list order, into the output. A stop asked through the window
// and confirmed leaves the output as it was.
#pragma once

#include "forms/job.h"

namespace tessark {

struct MainControls;
class FileSystem;

AfterJob startMerge(MainControls& window, FileSystem& fs);

}  // namespace tessark
