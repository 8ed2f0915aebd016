// SPDX-License-Identifier: MIT
#include "engine/core/file_system.h"

#include <algorithm>

#include "engine/core/runtime_error.h"

namespace tessark {

void FileSystem::forEachFile(const Text& pattern, const std::function<void(Text&&)>& visit) {
    for (Text& name : findFiles(pattern)) {
        visit(std::move(name));
    }
}

std::int64_t FileSystem::transfer(InputFile& in, std::int64_t inOffset, OutputFile& out,
                                  std::int64_t outOffset, std::int64_t count) {
    if (buffer_.empty()) {
        buffer_.resize(kCopyBufferSize);
    }
    const auto want = static_cast<std::size_t>(
        std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer_.size())));
    const std::size_t got = in.readAt(inOffset, std::span(buffer_.data(), want));
    if (got > 0) {
        out.writeAt(outOffset, std::span<const std::byte>(buffer_.data(), got));
    }
    return static_cast<std::int64_t>(got);
}

}  // namespace tessark
