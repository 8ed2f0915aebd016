// SPDX-License-Identifier: MIT
// The GF(2^16) region kernels' speed on one core, beside the memory copy's:
// the multiply-add a recovery slice is made of, on a region that stays in the
// processor's L2 cache and on one that streams from memory.
#pragma once

namespace tessark::bench {

// Prints one row per kernel the processor runs, the XOR of factor 1 and
// memcpy, each the median of `runs` rounds.
void measureKernels(int runs);

}  // namespace tessark::bench
