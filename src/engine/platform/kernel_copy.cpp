// SPDX-License-Identifier: MIT
#ifndef _WIN32

#include "engine/platform/kernel_copy.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "engine/platform/posix_io.h"

namespace tessark {

namespace {

// The kernel cannot copy between these files, or not this way: across file
// systems that lack it, a kernel or file system without it, special files.
bool isRefusal(int error) {
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP ||
           error == EINVAL;
}

std::optional<std::pair<dev_t, dev_t>> devices(int inFd, int outFd) {
    struct stat in {};
    struct stat out {};
    if (::fstat(inFd, &in) != 0 || ::fstat(outFd, &out) != 0) {
        return std::nullopt;
    }
    return std::pair(in.st_dev, out.st_dev);
}

}  // namespace

std::optional<std::int64_t> KernelCopy::copy(int inFd, std::int64_t inOffset, int outFd,
                                             std::int64_t outOffset, std::int64_t count,
                                             const Text& target) {
#ifdef __linux__
    // Looking up the devices costs two calls, so it is done only once some
    // pair has been refused.
    std::optional<std::pair<dev_t, dev_t>> pair;
    if (!refused_.empty()) {
        pair = devices(inFd, outFd);
        if (!pair || std::find(refused_.begin(), refused_.end(), *pair) != refused_.end()) {
            return std::nullopt;
        }
    }
    const auto want = static_cast<std::size_t>(std::min(count, kMaxChunk));
    for (;;) {
        off64_t from = inOffset;
        off64_t to = outOffset;
        const ssize_t moved = ::copy_file_range(inFd, &from, outFd, &to, want, 0);
        if (moved > 0) {
            return moved;
        }
        if (moved == 0) {
            // The end of the input, or a file system that reports no bytes
            // for files it cannot copy: reading tells which.
            return std::nullopt;
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (!isRefusal(error)) {
            posix::fail(error, target, FileAction::Write);
        }
        if (!pair) {
            pair = devices(inFd, outFd);
        }
        if (pair) {
            refused_.push_back(*pair);
        }
        return std::nullopt;
    }
#else
    (void)inFd, (void)inOffset, (void)outFd, (void)outOffset, (void)count, (void)target;
    return std::nullopt;
#endif
}

}  // namespace tessark

#endif
