// SPDX-License-Identifier: MIT
// The recovery rows, on the pieces of the 1.44M block: the default split
// (checksum file and one recovery slice) against the split with the checksum
// file only, beside the passes it is made of; protect -r 74 with each kernel
// against par2 create; and the merge that rebuilds a missing piece against
// par2 repair followed by cat.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contest.h"
#include "files.h"
#include "runners.h"
#include "scratch.h"

namespace tessark::bench {

// Every file name in the scratch folder the rows can create for a set of
// `pieces` pieces (par2's own volumes aside: they are found by listing).
std::vector<std::string> recoveryFileNames(const Scratch& scratch, std::int64_t pieces);

// Adds the three series. `refPieces` are the source's pieces of `block`
// bytes, checked already; they are compared with every split.
void raceRecovery(const Scratch& scratch, const std::string& source,
                  const std::vector<std::string>& refPieces, std::int64_t block, int runs,
                  CopyPath copy, CompareBuffers& buffers, std::vector<Series>& all);

}  // namespace tessark::bench
