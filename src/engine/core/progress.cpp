// SPDX-License-Identifier: MIT
#include "engine/core/progress.h"

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark {

namespace {
// Reporting a few times a second keeps a window alive and a terminal line
// moving without costing anything measurable on fast disks.
constexpr auto kReportEvery = std::chrono::milliseconds(100);
}  // namespace

Throttle::Throttle() : last_(std::chrono::steady_clock::now()) {}

bool Throttle::due() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < kReportEvery) {
        return false;
    }
    last_ = now;
    return true;
}

bool copyBytes(FileSystem& fs, InputFile& in, std::int64_t inOffset, OutputFile& out,
               std::int64_t outOffset, std::int64_t count, Progress& progress,
               const ProgressFn& report) {
    std::int64_t done = 0;
    while (done < count) {
        const std::int64_t moved =
            fs.transfer(in, inOffset + done, out, outOffset + done, count - done);
        if (moved <= 0) {
            raise(err::DeviceIo);  // the input is shorter than it was said to be
        }
        done += moved;
        progress.bytesDone += moved;
        if (done < count && report && !report(progress)) {
            return false;
        }
    }
    return true;
}

}  // namespace tessark
