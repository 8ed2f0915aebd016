// SPDX-License-Identifier: MIT
// Our split and merge against the tools alone, plain or with checksums: a
// split that writes a checksum file against split followed by sha256sum of
// the pieces and of the source, and a merge that checks one against
// sha256sum -c of the pieces, cat, then sha256sum of the output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "contest.h"
#include "files.h"
#include "runners.h"

namespace tessark::bench {

// The files of one block size's series, all in `folder`.
struct PairSet {
    std::string folder;
    std::string source;
    std::string reference;  // the tool's pieces reference.001, ..., checked against the source
    std::string ourTarget;  // our split: pieces, Link.bat and, with sums, ourTarget.sha256
    std::string toolPrefix;
    std::string merged;  // either merge's output
    std::int64_t block = 0;
    std::int64_t pieces = 0;
    CopyPath copy = CopyPath::Native;
    // Runs one contestant's action and returns its timing; on a copy-on-write
    // file system it also tells the space the outputs took.
    std::function<Timing(const std::function<Timing()>&)> measure = [](const auto& run) {
        return run();
    };
};

// Every file name the series of `set` can create besides the pieces.
std::vector<std::string> pairFileNames(const PairSet& set);

// Adds the split's and the merge's series, named "split<suffix>" and
// "merge<suffix>". The reference pieces must exist; with sums, the reference
// checksum file is written beside them first and removed after.
void racePair(const PairSet& set, Sums sums, const std::string& suffix, int runs,
              CompareBuffers& buffers, std::vector<Series>& all);

}  // namespace tessark::bench
