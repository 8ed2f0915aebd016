// SPDX-License-Identifier: MIT
// The cost per piece of large sets: cutting a file into 10,000 and into
// 100,000 pieces, and adding each set to the merge list as Add does, so that
// growth with the set's size shows.
#pragma once

#include "files.h"
#include "runners.h"
#include "scratch.h"

namespace tessark::bench {

// Prints one line per set size and the growth of the cost per piece.
void measureSets(const Scratch& scratch, CopyPath copy, CompareBuffers& buffers);

}  // namespace tessark::bench
