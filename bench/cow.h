// SPDX-License-Identifier: MIT
// The split into 4 MiB pieces and its merge, plain and with checksums, on a
// small XFS with shared blocks, loop-mounted for the purpose: the time and the
// disk space each takes, ours against the tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contest.h"
#include "files.h"
#include "runners.h"
#include "scratch.h"

namespace tessark::bench {

// Every file name in the scratch folder the series can create.
std::vector<std::string> copyOnWriteFileNames(const Scratch& scratch);

// Adds the four series, or one skipped line saying why they could not run
// (they need root for the loop mount, and mkfs.xfs).
void raceOnCopyOnWrite(const Scratch& scratch, std::int64_t size, int runs, CopyPath copy,
                       CompareBuffers& buffers, std::vector<Series>& all);

}  // namespace tessark::bench
