// SPDX-License-Identifier: MIT
// The split inputs: the block sizes and the proposed target for a chosen
// source.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/core/text.h"

namespace tessark {

// Bytes in the fixed "1.44M" block: 1.38 × 1,048,576 rounded.
inline constexpr std::int64_t kFloppyBlock = 1447035;

// The source path with "$" inserted before its last four characters, or the
// path unchanged when it holds no "." at all.
Text DeriveTargetName(const Text& source);
inline Text proposeTarget(const Text& source) {
    return DeriveTargetName(source);
}

// The custom block size as the window reads the typed kilobytes: the leading
// number, times 1024, rounded half to even. Nothing for a size of no bytes;
// INT64_MAX for one too large to hold (larger than any file).
std::optional<std::int64_t> typedBlockBytes(const Text& typed);

}  // namespace tessark
