// SPDX-License-Identifier: MIT
#include "engine/core/file_system.h"

#include <algorithm>

#include "engine/core/controls.h"
#include "engine/core/runtime_error.h"

namespace tessark {

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

namespace {
// Repainting a few times a second keeps the window alive without costing
// anything measurable on fast disks.
constexpr auto kRepaintEvery = std::chrono::milliseconds(100);
}  // namespace

ThrottledRepaint::ThrottledRepaint(RepaintHook& hook)
    : hook_(hook), last_(std::chrono::steady_clock::now()) {}

void ThrottledRepaint::repaint() {
    if (const auto now = std::chrono::steady_clock::now(); now - last_ >= kRepaintEvery) {
        last_ = now;
        hook_.repaint();
    }
}

void copyBytes(FileSystem& fs, InputFile& in, std::int64_t inOffset, OutputFile& out,
               std::int64_t outOffset, std::int64_t count, RepaintHook& repaint) {
    ThrottledRepaint throttled(repaint);
    std::int64_t done = 0;
    while (done < count) {
        const std::int64_t moved =
            fs.transfer(in, inOffset + done, out, outOffset + done, count - done);
        if (moved <= 0) {
            raise(err::DeviceIo);  // the input is shorter than it was said to be
        }
        done += moved;
        throttled.repaint();
    }
}

}  // namespace tessark
