// SPDX-License-Identifier: MIT
#include "kernels.h"

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/recovery/gf16.h"

namespace tessark::bench {
namespace {

// 4 KiB: what a call costs besides the work (the factor's tables). 2 x 256
// KiB stays in a 1 MiB or larger L2; 2 x 512 MiB is more than any L3 (this
// machine's says 480 MiB), so each round reads it from memory.
constexpr std::size_t kSmall = std::size_t{4} << 10;
constexpr std::size_t kInCache = std::size_t{256} << 10;
constexpr std::size_t kStreamed = std::size_t{512} << 20;
// Calls between two readings of the clock, so that reading it (a system
// call) costs next to nothing.
constexpr std::size_t kBytesBetweenClocks = std::size_t{4} << 20;
// Each round repeats the operation for at least this long.
constexpr double kRoundSeconds = 0.25;
constexpr gf16::Elem kFactor = 0x8E2D;

struct Regions {
    std::unique_ptr<std::byte[]> src, dst;
    std::size_t bytes;
    explicit Regions(std::size_t n) : src(new std::byte[n]), dst(new std::byte[n]), bytes(n) {
        // Every page written once, so no round pays for first touches.
        std::uint64_t x = 0x9E3779B97F4A7C15ULL;
        for (std::size_t i = 0; i < n; i += 8) {
            x ^= x << 13, x ^= x >> 7, x ^= x << 17;
            std::memcpy(src.get() + i, &x, std::min<std::size_t>(8, n - i));
        }
        std::memset(dst.get(), 0, n);
    }
};

// The processor time this thread has used: what one core gives it, however
// many others share the machine.
double threadSeconds() {
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) != 0) {
        throw std::runtime_error("clock_gettime failed");
    }
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Bytes of the region per second of processor time, in GB/s: the median of
// `runs` rounds.
double gigabytesPerSecond(const std::function<void()>& once, std::size_t bytes, int runs) {
    once();  // warm-up
    std::vector<double> rates;
    for (int r = 0; r < runs; ++r) {
        const std::size_t batch = std::max<std::size_t>(1, kBytesBetweenClocks / bytes);
        std::size_t times = 0;
        const double start = threadSeconds();
        double seconds = 0;
        do {
            for (std::size_t b = 0; b < batch; ++b)
                once();
            times += batch;
            seconds = threadSeconds() - start;
        } while (seconds < kRoundSeconds);
        rates.push_back(static_cast<double>(bytes) * static_cast<double>(times) / seconds / 1e9);
    }
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

struct Row {
    std::string name;
    std::function<void(Regions&)> run;
};

}  // namespace

void measureKernels(int runs) {
    std::vector<Row> rows;
    for (const gf16::Kernel k : gf16::availableKernels()) {
        rows.push_back(
            {gf16::kernelName(k), [k](Regions& r) {
                 gf16::mulAddWith(k, kFactor, {r.src.get(), r.bytes}, {r.dst.get(), r.bytes});
             }});
    }
    rows.push_back({"xor (factor 1)", [](Regions& r) {
                        gf16::mulAdd(1, {r.src.get(), r.bytes}, {r.dst.get(), r.bytes});
                    }});
    rows.push_back({"memcpy", [](Regions& r) { std::memcpy(r.dst.get(), r.src.get(), r.bytes); }});

    std::vector<std::vector<double>> rates(rows.size());
    for (const std::size_t bytes : {kSmall, kInCache, kStreamed}) {
        std::fprintf(stderr, "  GF(2^16) kernels on %zu KiB\n", bytes >> 10);
        Regions regions(bytes);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rates[i].push_back(gigabytesPerSecond([&] { rows[i].run(regions); }, bytes, runs));
        }
    }
    std::printf(
        "\nGF(2^16) multiply-add dst ^= %#x * src, one core (GB/s of src per second of the\n"
        "thread's processor time, median of %d rounds;\n"
        "a multiply-add reads both regions and writes one, memcpy reads one and writes one)\n",
        kFactor, runs);
    std::printf("%-16s %14s %16s %22s\n", "kernel", "4 KiB calls", "256 KiB (in L2)",
                "512 MiB (from memory)");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::printf("%-16s %14.2f %16.2f %22.2f\n", rows[i].name.c_str(), rates[i][0], rates[i][1],
                    rates[i][2]);
    }
    std::printf("best kernel: %s\n", gf16::kernelName(gf16::bestKernel()));
}

}  // namespace tessark::bench
