// SPDX-License-Identifier: MIT
// The kernel's file-to-file copy (copy_file_range on Linux): the bytes never
// pass through the process, and some file systems share the blocks instead of
// copying them. Where the kernel cannot copy between two file systems it says
// so once, and the caller falls back to reading and writing.
#pragma once

#ifndef _WIN32

#include <sys/types.h>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/core/text.h"

namespace tessark {

class KernelCopy {
  public:
    // At most this much per call, so that a caller repainting between calls
    // still does so a few times a second on a slow disk.
    static constexpr std::int64_t kMaxChunk = std::int64_t{8} << 20;

    // Copies up to `count` bytes and returns how many were copied. Returns
    // nothing when the kernel copied nothing: at the end of the input (or
    // what a file system without the copy reports as one), or when it cannot
    // copy between these two files. A refusal for the files' pair of devices
    // is remembered, so it costs one call. A real failure (a full disk, a
    // device error) raises its run-time error, about `target`, the file being
    // written.
    std::optional<std::int64_t> copy(int inFd, std::int64_t inOffset, int outFd,
                                     std::int64_t outOffset, std::int64_t count,
                                     const Text& target);

  private:
    std::vector<std::pair<dev_t, dev_t>> refused_;
};

}  // namespace tessark

#endif
