// SPDX-License-Identifier: MIT
#include "engine/core/hashing_copy.h"

#include <algorithm>
#include <vector>

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"
#include "engine/core/sha256.h"

namespace tessark {

bool copyAndHash(InputFile& in, std::int64_t inOffset, OutputFile& out, std::int64_t outOffset,
                 std::int64_t count, std::span<Sha256* const> hashes, Progress& progress,
                 const ProgressFn& report) {
    // The bytes must pass through memory to be hashed, so this is a read and
    // a write through one buffer rather than the kernel's file-to-file copy.
    std::vector<std::byte> buffer(kCopyBufferSize);
    std::int64_t done = 0;
    while (done < count) {
        const auto want =
            static_cast<std::size_t>(std::min<std::int64_t>(count - done, std::ssize(buffer)));
        const std::size_t got = in.readAt(inOffset + done, std::span(buffer).first(want));
        if (got == 0) {
            raise(err::DeviceIo);  // the input is shorter than it was said to be
        }
        const auto chunk = std::span<const std::byte>(buffer).first(got);
        for (Sha256* hash : hashes) {
            hash->update(chunk);
        }
        out.writeAt(outOffset + done, chunk);
        done += static_cast<std::int64_t>(got);
        progress.bytesDone += static_cast<std::int64_t>(got);
        if (done < count && report && !report(progress)) {
            return false;
        }
    }
    return true;
}

}  // namespace tessark
