// SPDX-License-Identifier: MIT
// The checksum parser against names made to collide: a checksum file of
// names that all have one std::hash value (the fixed-seed hash a hash set of
// names would use) against one of random names of the same length. The
// parse finds a name given twice by sorting, so the two should take about
// as long; a hash set of the same names is timed beside it, to show that the
// names really collide.
#pragma once

namespace tessark::bench {

// Prints the parse times and their ratio (the aim is at most 2).
void measureChecksumFlood();

}  // namespace tessark::bench
