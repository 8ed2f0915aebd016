// SPDX-License-Identifier: MIT
// The names the contestants give their pieces and the command lines of the
// tools, shared by every series.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contest.h"
#include "runners.h"

namespace tessark::bench {

std::int64_t pieceCount(std::int64_t size, std::int64_t block);

// prefix.001, prefix.002, ... as the tool names them (wider past 999).
std::vector<std::string> toolPieces(const std::string& prefix, std::int64_t pieces);
// target.001, target.002, ... as the engine names them.
std::vector<std::string> ourPieces(const std::string& target, std::int64_t pieces);

std::vector<std::string> toolSplitCommand(const std::string& source, const std::string& prefix,
                                          std::int64_t block, std::int64_t pieces);
std::vector<std::string> catCommand(const std::vector<std::string>& pieces);
// sha256sum FILE...
std::vector<std::string> sumCommand(const std::vector<std::string>& files);

Timing timed(const OurRun& run);
Timing timed(const ToolRun& run);
// Tools run one after the other, as one contestant.
Timing timed(const std::vector<ToolRun>& runs);

}  // namespace tessark::bench
