// SPDX-License-Identifier: MIT
#include "cli/progress_line.h"

#include <cmath>
#include <cstdio>

namespace tessark::cli {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string mebibytes(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", bytes / kMiB);
    return text;
}

std::string clock(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

std::string progressLine(std::int64_t bytesDone, std::int64_t bytesTotal, double elapsedSeconds) {
    const auto done = static_cast<double>(bytesDone);
    const auto total = static_cast<double>(bytesTotal);
    const int percent = bytesTotal > 0 ? static_cast<int>(done * 100.0 / total) : 100;
    const double speed = elapsedSeconds > 0 ? done / elapsedSeconds : 0.0;
    const std::string left = speed > 0 ? clock((total - done) / speed) : std::string("--:--");
    char text[160];
    std::snprintf(text, sizeof text, "%3d%%   %s / %s   %s/s   %s left", percent,
                  mebibytes(done).c_str(), mebibytes(total).c_str(), mebibytes(speed).c_str(),
                  left.c_str());
    return text;
}

ProgressLine::ProgressLine(bool enabled, Sink sink) : enabled_(enabled), sink_(std::move(sink)) {}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::update(std::int64_t bytesDone, std::int64_t bytesTotal) {
    if (!enabled_) {
        return;
    }
    const auto now = Clock::now();
    if (drawnWidth_ != 0 && now - lastDrawn_ < std::chrono::milliseconds(100) &&
        bytesDone < bytesTotal) {
        return;
    }
    lastDrawn_ = now;
    std::string line =
        progressLine(bytesDone, bytesTotal, std::chrono::duration<double>(now - start_).count());
    const std::size_t width = line.size();
    if (width < drawnWidth_) {
        line.append(drawnWidth_ - width, ' ');
    }
    drawnWidth_ = width;
    sink_("\r" + line);
}

void ProgressLine::finish() {
    if (enabled_ && drawnWidth_ != 0) {
        sink_("\r" + std::string(drawnWidth_, ' ') + "\r");
        drawnWidth_ = 0;
    }
}

}  // namespace tessark::cli
