// SPDX-License-Identifier: MIT
// The one progress line a long split or merge redraws on a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tessark::cli {

// " 42%   215.0 MiB / 512.0 MiB   180.2 MiB/s   0:02 left": the percentage of
// the bytes done, the bytes, the average speed since the start and the time
// the rest takes at that speed ("--:--" until a speed is known).
std::string progressLine(std::int64_t bytesDone, std::int64_t bytesTotal, double elapsedSeconds);

// Draws the line in place ("\r" and the line, padded over a longer previous
// one) at most ten times a second, and rubs it out when done.
class ProgressLine {
  public:
    using Clock = std::chrono::steady_clock;
    using Sink = std::function<void(std::string_view)>;

    // Draws nothing when not `enabled` (not a terminal, or --quiet).
    ProgressLine(bool enabled, Sink sink);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void update(std::int64_t bytesDone, std::int64_t bytesTotal);
    // Clears the line so that the next message starts at the left margin.
    void finish();

  private:
    bool enabled_;
    Sink sink_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDrawn_{};
    std::size_t drawnWidth_ = 0;
};

}  // namespace tessark::cli
