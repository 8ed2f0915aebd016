// SPDX-License-Identifier: MIT
// tessark_bench: times the split and merge actions against the command-line
// tools split and cat on the same file, alternating the two, and checks every
// result byte for byte. See the README's performance section.
#include <sys/utsname.h>
#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/text.h"
#include "files.h"
#include "runners.h"
#include "scratch.h"
#include "engine/split/split_settings.h"

namespace tessark::bench {
namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

struct Options {
    std::string dir;
    std::int64_t size = 2 * kGiB;
    int runs = 5;
    CopyPath copy = CopyPath::Native;
};

const char kUsage[] =
    "usage: tessark_bench [--dir FOLDER] [--size BYTES[K|M|G]] [--runs N] [--buffered]\n"
    "  --dir   where to create the test file (default /dev/shm, else the temp folder)\n"
    "  --size  size of the test file (default 2G; K, M, G are powers of 1024)\n"
    "  --runs  timed runs of each contestant after one warm-up (default 5)\n"
    "  --buffered  copy through the read/write buffer, never the kernel's copy\n";

std::int64_t parseSize(const std::string& text) {
    std::size_t used = 0;
    const long long number = std::stoll(text, &used);
    std::int64_t unit = 1;
    const std::string rest = text.substr(used);
    if (rest == "K" || rest == "k") {
        unit = 1024;
    } else if (rest == "M" || rest == "m") {
        unit = 1024 * 1024;
    } else if (rest == "G" || rest == "g") {
        unit = kGiB;
    } else if (!rest.empty()) {
        throw std::invalid_argument("bad size " + text);
    }
    if (number <= 0) {
        throw std::invalid_argument("bad size " + text);
    }
    return number * unit;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (arg == "--buffered") {
            options.copy = CopyPath::Buffered;
            continue;
        }
        if (i + 1 >= argc) {
            throw std::invalid_argument("missing value after " + arg);
        }
        const std::string value = argv[++i];
        if (arg == "--dir") {
            options.dir = value;
        } else if (arg == "--size") {
            options.size = parseSize(value);
        } else if (arg == "--runs") {
            options.runs = std::stoi(value);
            if (options.runs < 1) {
                throw std::invalid_argument("--runs needs at least 1");
            }
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    if (options.dir.empty()) {
        std::error_code ignored;
        options.dir = std::filesystem::is_directory("/dev/shm", ignored)
                          ? std::string("/dev/shm")
                          : std::filesystem::temp_directory_path().string();
    }
    return options;
}

std::int64_t pieceCount(std::int64_t size, std::int64_t block) {
    return (size + block - 1) / block;
}

// The names the tool gives: it needs a wider numeric suffix once the pieces
// pass 999, and refuses to split when the width is too small.
int toolSuffixWidth(std::int64_t pieces) {
    int width = 3;
    for (std::int64_t limit = 999; pieces > limit; limit = limit * 10 + 9) {
        ++width;
    }
    return width;
}

std::vector<std::string> toolPieces(const std::string& prefix, std::int64_t pieces) {
    std::vector<std::string> names;
    const int width = toolSuffixWidth(pieces);
    for (std::int64_t i = 1; i <= pieces; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, static_cast<std::size_t>(std::max(0, width - int(number.size()))), '0');
        names.push_back(prefix + "." + number);
    }
    return names;
}

std::vector<std::string> ourPieces(const std::string& target, std::int64_t pieces) {
    std::vector<std::string> names;
    for (std::int64_t i = 1; i <= pieces; ++i) {
        names.push_back(toUtf8(pieceName(fromUtf8(target), i)));
    }
    return names;
}

std::vector<std::string> toolSplitCommand(const std::string& source, const std::string& prefix,
                                          std::int64_t block, std::int64_t pieces) {
    return {"split",
            "-b",
            std::to_string(block),
            "-d",
            "-a",
            std::to_string(toolSuffixWidth(pieces)),
            "--numeric-suffixes=1",
            source,
            prefix + "."};
}

std::vector<std::string> catCommand(const std::vector<std::string>& pieces) {
    std::vector<std::string> argv{"cat"};
    argv.insert(argv.end(), pieces.begin(), pieces.end());
    return argv;
}

struct Series {
    std::string operation;
    std::vector<double> ours, tool;        // wall-clock seconds
    std::vector<double> oursCpu, toolCpu;  // user + system seconds
    std::int64_t oursPeakKiB = -1;         // the highest of all our runs, warm-up included
    bool skipped = false;
    std::string why;
};

// One warm-up of each, then `runs` timed pairs A B A B. Each result is
// checked and removed before the next run starts; none of that is timed.
struct Contest {
    std::function<OurRun()> ours;
    std::function<ToolRun()> tool;
    std::function<void()> checkOurs, checkTool;
    std::vector<std::string> oursOutputs, toolOutputs;
};

void race(const Contest& c, int runs, const std::string& folder, Series& series) {
    for (int run = 0; run <= runs; ++run) {
        const OurRun ours = c.ours();
        c.checkOurs();
        removeAndSettle(c.oursOutputs, folder);
        const ToolRun tool = c.tool();
        c.checkTool();
        removeAndSettle(c.toolOutputs, folder);
        series.oursPeakKiB = std::max(series.oursPeakKiB, ours.peakAboveIdleKiB);
        std::fprintf(stderr, "  %-14s %s   ours %7.3f s   tool %7.3f s\n", series.operation.c_str(),
                     run == 0 ? "warm-up" : ("run " + std::to_string(run) + "  ").c_str(),
                     ours.seconds, tool.seconds);
        if (run > 0) {
            series.ours.push_back(ours.seconds);
            series.tool.push_back(tool.seconds);
            series.oursCpu.push_back(ours.cpuSeconds);
            series.toolCpu.push_back(tool.cpuSeconds);
        }
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// "median [lowest..highest]" of ours[i] / tool[i].
std::string ratios(const std::vector<double>& ours, const std::vector<double>& tool) {
    std::vector<double> r;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        r.push_back(ours[i] / tool[i]);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.3f [%.3f..%.3f]", median(r),
                  *std::min_element(r.begin(), r.end()), *std::max_element(r.begin(), r.end()));
    return text;
}

void printReport(const std::vector<Series>& all, std::int64_t size) {
    std::printf("\nWall-clock time\n%-14s %10s %8s %10s %8s   %-26s %12s\n", "operation", "ours",
                "MB/s", "coreutils", "MB/s", "ours/coreutils med [range]", "ours peak");
    std::printf("%-14s %10s %8s %10s %8s   %-26s %12s\n", "", "median", "", "median", "",
                "(pair by pair)", "above idle");
    const double megabytes = static_cast<double>(size) / 1e6;
    for (const auto& s : all) {
        if (s.skipped) {
            std::printf("%-14s skipped: %s\n", s.operation.c_str(), s.why.c_str());
            continue;
        }
        const double ours = median(s.ours);
        const double tool = median(s.tool);
        char peak[32] = "n/a";
        if (s.oursPeakKiB >= 0) {
            std::snprintf(peak, sizeof peak, "%.1f MiB", static_cast<double>(s.oursPeakKiB) / 1024);
        }
        std::printf("%-14s %8.3f s %8.0f %8.3f s %8.0f   %-26s %12s\n", s.operation.c_str(), ours,
                    megabytes / ours, tool, megabytes / tool, ratios(s.ours, s.tool).c_str(), peak);
    }
    std::printf("\nProcessor time (user + system)\n%-14s %10s %10s   %-26s\n", "operation", "ours",
                "coreutils", "ours/coreutils med [range]");
    for (const auto& s : all) {
        if (!s.skipped) {
            std::printf("%-14s %8.3f s %8.3f s   %-26s\n", s.operation.c_str(), median(s.oursCpu),
                        median(s.toolCpu), ratios(s.oursCpu, s.toolCpu).c_str());
        }
    }
    std::printf(
        "\nMB = 10^6 bytes. Ratio below 1: ours is faster. Peak above idle: the highest\n"
        "resident memory of any of our runs above the resident memory just before it.\n");
}

int run(const Options& options) {
    const std::vector<Block> blocks = {{"1.44M", kFloppyBlock, ""}, {"1 GiB", kGiB, "1048576"}};
    // Progress goes to stderr and the report to stdout: keep them in order
    // when both go to one file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Scratch scratch(options.dir);
    const std::string source = scratch.path("source.bin");
    const std::string ourTarget = scratch.path("ours");
    const std::string reference = scratch.path("ref");
    const std::string toolPrefix = scratch.path("cu");
    const std::string ourMerged = scratch.path("merged-ours.bin");
    const std::string toolMerged = scratch.path("merged-cu.bin");
    const std::string script = scratch.path("Link.bat");

    // Every name the run can create, listed before the first file exists.
    std::vector<std::string> everything{source, ourMerged, toolMerged, script};
    for (const auto& b : blocks) {
        const std::int64_t n = pieceCount(options.size, b.bytes);
        for (const auto& list :
             {ourPieces(ourTarget, n), toolPieces(reference, n), toolPieces(toolPrefix, n)}) {
            everything.insert(everything.end(), list.begin(), list.end());
        }
    }
    scratch.arm(everything);

    utsname machine{};
    uname(&machine);
    std::printf(
        "tessark_bench: %lld-byte file in %s (%s), kernel %s, %ld cores, %.1f GiB memory,\n"
        "%d timed runs after a warm-up, our copies %s\n",
        static_cast<long long>(options.size), scratch.folder().c_str(),
        fileSystemName(scratch.folder()).c_str(), machine.release, sysconf(_SC_NPROCESSORS_ONLN),
        static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
            static_cast<double>(kGiB),
        options.runs,
        options.copy == CopyPath::Native ? "as the program makes them"
                                         : "forced through the read/write buffer");
    std::fflush(stdout);

    CompareBuffers buffers;
    std::fprintf(stderr, "writing %s\n", source.c_str());
    writeRandomFile(source, options.size, buffers.first);

    std::vector<Series> all;
    for (const auto& block : blocks) {
        Series split;
        Series merge;
        split.operation = "split " + block.label;
        merge.operation = "merge " + block.label;
        if (block.bytes > options.size) {
            split.skipped = merge.skipped = true;
            split.why = merge.why = "the block is larger than the file";
            all.push_back(split);
            all.push_back(merge);
            continue;
        }
        const std::int64_t n = pieceCount(options.size, block.bytes);
        const auto refPieces = toolPieces(reference, n);
        const auto cuPieces = toolPieces(toolPrefix, n);
        const auto oursPieces = ourPieces(ourTarget, n);

        // The reference pieces, checked once against the source; every later
        // split is compared with them piece by piece.
        runTool(toolSplitCommand(source, reference, block.bytes, n), "");
        expectSameBytes(refPieces, {source}, buffers);

        std::vector<std::string> oursOutputs = oursPieces;
        oursOutputs.push_back(script);
        race({[&] { return runOurSplit(source, ourTarget, block, n, options.copy); },
              [&] { return runTool(toolSplitCommand(source, toolPrefix, block.bytes, n), ""); },
              [&] {
                  expectSamePieces(oursPieces, refPieces, buffers);
                  if (fileExists(toUtf8(pieceName(fromUtf8(ourTarget), n + 1)))) {
                      throw std::runtime_error("MISMATCH: the split wrote a piece too many");
                  }
              },
              [&] { expectSamePieces(cuPieces, refPieces, buffers); }, oursOutputs, cuPieces},
             options.runs, scratch.folder(), split);
        all.push_back(split);

        race({[&] { return runOurMerge(refPieces, ourMerged, options.copy); },
              [&] { return runTool(catCommand(refPieces), toolMerged); },
              [&] { expectSameBytes({ourMerged}, {source}, buffers); },
              [&] { expectSameBytes({toolMerged}, {source}, buffers); },
              {ourMerged},
              {toolMerged}},
             options.runs, scratch.folder(), merge);
        all.push_back(merge);
        removeAndSettle(refPieces, scratch.folder());
    }
    printReport(all, options.size);
    std::printf("All results matched byte for byte.\n");
    return 0;
}

}  // namespace
}  // namespace tessark::bench

int main(int argc, char** argv) {
    try {
        return tessark::bench::run(tessark::bench::parseOptions(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessark_bench: %s\n", e.what());
        return 1;
    }
}
