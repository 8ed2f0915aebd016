// SPDX-License-Identifier: MIT
#include "engine/checksum/hash_file.h"

#include <vector>

#include "engine/core/file_system.h"

namespace tessark {

std::optional<Sha256Digest> hashFile(FileSystem& fs, const Text& path, Progress& progress,
                                     const ProgressFn& report) {
    const auto in = fs.openRead(path);
    std::vector<std::byte> buffer(kCopyBufferSize);
    Sha256 hash;
    for (std::int64_t offset = 0;;) {
        const std::size_t got = in->readAt(offset, buffer);
        if (got == 0) {
            return hash.finish();
        }
        hash.update(std::span(buffer).first(got));
        offset += static_cast<std::int64_t>(got);
        progress.bytesDone += static_cast<std::int64_t>(got);
        if (report && !report(progress)) {
            return std::nullopt;
        }
    }
}

}  // namespace tessark
