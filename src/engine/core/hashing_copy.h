// SPDX-License-Identifier: MIT
// The copy of a split or a merge that also proves what it moved: the same
// bytes go to the output and, in order, to every running hash given.
#pragma once

#include <cstdint>
#include <span>

#include "engine/core/progress.h"

namespace tessark {

class Sha256;

// Copies exactly `count` bytes from `in` at `inOffset` to `out` at
// `outOffset`, like copyBytes, feeding each byte to every hash in `hashes`.
// Returns false, with part of the bytes copied and hashed, when `report` asked
// to stop. Throws run-time error 57 when the input ends early.
bool copyAndHash(InputFile& in, std::int64_t inOffset, OutputFile& out, std::int64_t outOffset,
                 std::int64_t count, std::span<Sha256* const> hashes, Progress& progress,
                 const ProgressFn& report);

}  // namespace tessark
