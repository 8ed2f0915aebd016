// SPDX-License-Identifier: MIT
#include "names.h"

#include <algorithm>

#include "engine/core/piece_names.h"
#include "engine/core/text.h"

namespace tessark::bench {

std::int64_t pieceCount(std::int64_t size, std::int64_t block) {
    return (size + block - 1) / block;
}

namespace {

// The names the tool gives: it needs a wider numeric suffix once the pieces
// pass 999, and refuses to split when the width is too small.
int toolSuffixWidth(std::int64_t pieces) {
    int width = 3;
    for (std::int64_t limit = 999; pieces > limit; limit = limit * 10 + 9) {
        ++width;
    }
    return width;
}

}  // namespace

std::vector<std::string> toolPieces(const std::string& prefix, std::int64_t pieces) {
    std::vector<std::string> names;
    const int width = toolSuffixWidth(pieces);
    for (std::int64_t i = 1; i <= pieces; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, static_cast<std::size_t>(std::max(0, width - int(number.size()))), '0');
        names.push_back(prefix + "." + number);
    }
    return names;
}

std::vector<std::string> ourPieces(const std::string& target, std::int64_t pieces) {
    std::vector<std::string> names;
    for (std::int64_t i = 1; i <= pieces; ++i) {
        names.push_back(toUtf8(pieceName(fromUtf8(target), i)));
    }
    return names;
}

std::vector<std::string> toolSplitCommand(const std::string& source, const std::string& prefix,
                                          std::int64_t block, std::int64_t pieces) {
    return {"split",
            "-b",
            std::to_string(block),
            "-d",
            "-a",
            std::to_string(toolSuffixWidth(pieces)),
            "--numeric-suffixes=1",
            source,
            prefix + "."};
}

std::vector<std::string> catCommand(const std::vector<std::string>& pieces) {
    std::vector<std::string> argv{"cat"};
    argv.insert(argv.end(), pieces.begin(), pieces.end());
    return argv;
}

std::vector<std::string> sumCommand(const std::vector<std::string>& files) {
    std::vector<std::string> argv{"sha256sum"};
    argv.insert(argv.end(), files.begin(), files.end());
    return argv;
}

Timing timed(const OurRun& run) {
    return {run.seconds, run.cpuSeconds, run.peakAboveIdleKiB};
}

Timing timed(const ToolRun& run) {
    return {run.seconds, run.cpuSeconds, run.peakKiB};
}

Timing timed(const std::vector<ToolRun>& runs) {
    Timing sum{0, 0};
    for (const ToolRun& run : runs) {
        sum.seconds += run.seconds;
        sum.cpuSeconds += run.cpuSeconds;
        sum.peakKiB = std::max(sum.peakKiB, run.peakKiB);
    }
    return sum;
}

}  // namespace tessark::bench
