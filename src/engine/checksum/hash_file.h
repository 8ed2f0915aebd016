// SPDX-License-Identifier: MIT
// The digest of a file as it lies on the disk, for checking a set without
// joining it.
#pragma once

#include <optional>

#include "engine/core/progress.h"
#include "engine/core/sha256.h"
#include "engine/core/text.h"

namespace tessark {

class FileSystem;

// Reads the whole file at `path` through one buffer, adding its bytes to
// `progress.bytesDone` and calling `report` after each chunk. Nothing when
// `report` asked to stop. Throws RuntimeError when the file cannot be read.
std::optional<Sha256Digest> hashFile(FileSystem& fs, const Text& path, Progress& progress,
                                     const ProgressFn& report);

}  // namespace tessark
