// SPDX-License-Identifier: MIT
// Contestants taking turns on one operation, and the report of their times.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessark::bench {

struct Timing {
    double seconds;
    double cpuSeconds;  // user + system
    // Peak resident memory: above idle for our actions in a child, the whole
    // process for a program; -1 when not known.
    std::int64_t peakKiB = -1;
    std::optional<std::int64_t> spaceKiB =
        std::nullopt;  // disk space the run's outputs took, when measured
};

struct Contestant {
    std::string name;
    std::function<Timing()> run;
    std::function<void()> check;       // throws unless the result is right
    std::vector<std::string> outputs;  // removed after each run
};

// One operation's runs; the last contestant is the yardstick the others are
// compared with.
struct Series {
    std::string operation;
    std::vector<std::string> names;
    std::vector<std::vector<double>> seconds, cpuSeconds;  // [contestant][run]
    // [contestant] the highest peak memory of any run, warm-up included; -1
    // when not known
    std::vector<std::int64_t> peakKiB;
    std::vector<std::optional<std::int64_t>> spaceKiB;  // [contestant] the most any run took
    std::int64_t bytes = 0;  // the bytes each run moves, when not the report's file size
    bool skipped = false;
    std::string why;
};

// One warm-up of each, then `runs` timed rounds in which each runs once, in
// turn. Each result is checked and removed before the next run starts; none
// of that is timed.
Series race(const std::string& operation, const std::vector<Contestant>& contestants, int runs,
            const std::string& folder);

void printReport(const std::vector<Series>& all, std::int64_t size);

}  // namespace tessark::bench
