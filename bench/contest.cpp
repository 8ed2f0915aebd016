// SPDX-License-Identifier: MIT
#include "contest.h"

#include <algorithm>
#include <cstdio>

#include "files.h"

namespace tessark::bench {
namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// "median [lowest..highest]" of a[i] / b[i]: runs of one round, a moment apart.
std::string ratios(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> r;
    for (std::size_t i = 0; i < a.size(); ++i) {
        r.push_back(a[i] / b[i]);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.2f [%.2f..%.2f]", median(r),
                  *std::min_element(r.begin(), r.end()), *std::max_element(r.begin(), r.end()));
    return text;
}

}  // namespace

Series race(const std::string& operation, const std::vector<Contestant>& contestants, int runs,
            const std::string& folder) {
    Series series;
    series.operation = operation;
    series.seconds.resize(contestants.size());
    series.cpuSeconds.resize(contestants.size());
    series.spaceKiB.resize(contestants.size());
    series.peakKiB.assign(contestants.size(), -1);
    for (const auto& c : contestants) {
        series.names.push_back(c.name);
    }
    for (int run = 0; run <= runs; ++run) {
        std::string line =
            "  " + operation + (run == 0 ? "  warm-up" : "  run " + std::to_string(run));
        for (std::size_t i = 0; i < contestants.size(); ++i) {
            const Timing t = contestants[i].run();
            contestants[i].check();
            removeAndSettle(contestants[i].outputs, folder);
            if (t.spaceKiB) {
                series.spaceKiB[i] =
                    std::max(series.spaceKiB[i].value_or(*t.spaceKiB), *t.spaceKiB);
            }
            series.peakKiB[i] = std::max(series.peakKiB[i], t.peakKiB);
            char cell[64];
            std::snprintf(cell, sizeof cell, "   %s %.3f s", contestants[i].name.c_str(),
                          t.seconds);
            line += cell;
            if (run > 0) {
                series.seconds[i].push_back(t.seconds);
                series.cpuSeconds[i].push_back(t.cpuSeconds);
            }
        }
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    return series;
}

void printReport(const std::vector<Series>& all, std::int64_t size) {
    for (const char* kind : {"Wall-clock time", "Processor time (user + system)"}) {
        const bool wall = kind[0] == 'W';
        std::printf("\n%s: median of each, and each one's ratio to the last, run by run\n", kind);
        for (const auto& s : all) {
            if (s.skipped) {
                std::printf("%-20s skipped: %s\n", s.operation.c_str(), s.why.c_str());
                continue;
            }
            const auto& times = wall ? s.seconds : s.cpuSeconds;
            const double megabytes = static_cast<double>(s.bytes > 0 ? s.bytes : size) / 1e6;
            std::string line;
            char cell[96];
            for (std::size_t i = 0; i < times.size(); ++i) {
                const double m = median(times[i]);
                if (wall) {
                    std::snprintf(cell, sizeof cell, "  %s %.3f s (%.0f MB/s)", s.names[i].c_str(),
                                  m, megabytes / m);
                } else {
                    std::snprintf(cell, sizeof cell, "  %s %.3f s", s.names[i].c_str(), m);
                }
                line += cell;
            }
            for (std::size_t i = 0; i + 1 < times.size(); ++i) {
                line +=
                    "  " + s.names[i] + "/" + s.names.back() + " " + ratios(times[i], times.back());
            }
            for (std::size_t i = 0; wall && i < s.spaceKiB.size(); ++i) {
                if (s.spaceKiB[i]) {
                    std::snprintf(cell, sizeof cell, "  %s space %.1f MiB", s.names[i].c_str(),
                                  static_cast<double>(*s.spaceKiB[i]) / 1024);
                    line += cell;
                }
            }
            for (std::size_t i = 0; wall && i < s.peakKiB.size(); ++i) {
                if (s.peakKiB[i] >= 0) {
                    std::snprintf(cell, sizeof cell, "  %s peak %.1f MiB", s.names[i].c_str(),
                                  static_cast<double>(s.peakKiB[i]) / 1024);
                    line += cell;
                }
            }
            std::printf("%-20s%s\n", s.operation.c_str(), line.c_str());
        }
    }
    std::printf(
        "\nMB = 10^6 bytes. A ratio below 1: faster than the last one. Peak: the highest\n"
        "resident memory of any run; for the engine called in a child process, above the\n"
        "resident memory just before the call, for a program the whole process's (for\n"
        "programs run one after the other, the largest; Linux counts the benchmark's own\n"
        "resident memory at the spawn into it, so a figure near that is a ceiling). Space:\n"
        "the most disk space any run's outputs took (free space before less free space after).\n");
}

}  // namespace tessark::bench
