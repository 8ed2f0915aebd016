// SPDX-License-Identifier: MIT
// The computation behind the recovery files: the pieces' identifiers and
// checksums, and the recovery slices, written into files already opened.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/progress.h"

namespace tessark::recovery {

struct EncoderInput {
    std::vector<Text> pieces;    // full paths, one folder, none empty
    std::int64_t sliceSize = 0;  // a positive multiple of 4
    std::uint32_t recoverySlices = 1;
    std::int64_t memory = 0;  // the recovery windows' share
};

// Fills `files`: the index first, then the volumes of par2::volumesFor. Adds
// the bytes it will read to progress.bytesTotal and those read to bytesDone.
// False when `report` asked to stop.
bool encodeRecovery(FileSystem& fs, const EncoderInput& input,
                    std::span<const std::unique_ptr<StagedFile>> files, Progress& progress,
                    const ProgressFn& report);

}  // namespace tessark::recovery
