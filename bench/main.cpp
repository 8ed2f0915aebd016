// SPDX-License-Identifier: MIT
// tessark_bench: times the engine's split and merge, tessark-cli and the
// command-line tools split and cat on the same file, taking turns, and checks
// every result byte for byte; the same with checksum files against the tools
// with sha256sum; on a loop-mounted XFS (as root) time and space; then the
// cost per piece of cutting and adding sets of 10,000 and 100,000 pieces; on
// the 1.44M pieces the recovery rows against par2; the GF(2^16) kernels'
// speed beside memcpy. See the README's performance section.
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

#include "checksum_flood.h"
#include "contest.h"
#include "cow.h"
#include "engine/core/piece_names.h"
#include "engine/core/text.h"
#include "engine/split/split_settings.h"
#include "files.h"
#include "kernels.h"
#include "names.h"
#include "pairs.h"
#include "recovery_rows.h"
#include "runners.h"
#include "scratch.h"
#include "sets.h"

namespace tessark::bench {
namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

struct Options {
    std::string dir;
    std::int64_t size = 2 * kGiB;
    int runs = 5;
    CopyPath copy = CopyPath::Native;
    // The groups of rows to run: all of them when empty.
    std::vector<std::string> only;
    bool wants(const char* group) const {
        return only.empty() || std::find(only.begin(), only.end(), group) != only.end();
    }
};

const char* const kGroups[] = {"plain", "sums", "recovery", "cow", "sets", "kernels"};

const char kUsage[] =
    "usage: tessark_bench [--dir FOLDER] [--size BYTES[K|M|G]] [--runs N] [--buffered]\n"
    "  --dir   where to create the test file (default /dev/shm, else the temp folder)\n"
    "  --size  size of the test file (default 2G; K, M, G are powers of 1024)\n"
    "  --runs  timed runs of each contestant after one warm-up (default 5)\n"
    "  --buffered  copy through the read/write buffer, never the kernel's copy\n"
    "  --only GROUP[,GROUP...]  only these rows: plain (split and merge, tessark-cli,\n"
    "          coreutils), sums (with checksum files), recovery (the default split,\n"
    "          protect -r 74 and the merge that rebuilds a piece, against par2; on the\n"
    "          1.44M block), cow (XFS), sets (large sets), kernels (GF(2^16) kernels)\n"
    "  --kernels-only  the same as --only kernels\n"
    "  --checksum-flood  only parse checksum files of colliding and random names\n";

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
        if (arg == "--checksum-flood") {
            measureChecksumFlood();  // this row alone: no files needed
            std::exit(0);
        }
        if (arg == "--buffered") {
            options.copy = CopyPath::Buffered;
            continue;
        }
        if (arg == "--kernels-only") {
            options.only = {"kernels"};
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
        } else if (arg == "--only") {
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t comma = std::min(value.find(',', at), value.size());
                const std::string group = value.substr(at, comma - at);
                if (std::find(std::begin(kGroups), std::end(kGroups), group) == std::end(kGroups)) {
                    throw std::invalid_argument("unknown group " + group);
                }
                options.only.push_back(group);
                at = comma + 1;
            }
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

std::vector<std::string> cliSplitCommand(const std::string& source, const std::string& target,
                                         const Block& block) {
    return {TESSARK_CLI_PATH, "split", "-q",   "--no-checksum", "--no-recovery", "-b",
            block.cliSize,    "-o",    target, source};
}

std::vector<std::string> cliMergeCommand(const std::vector<std::string>& pieces,
                                         const std::string& output) {
    std::vector<std::string> argv{TESSARK_CLI_PATH, "merge", "-q", "-o", output};
    argv.insert(argv.end(), pieces.begin(), pieces.end());
    return argv;
}

int run(const Options& options) {
    if (options.only == std::vector<std::string>{"kernels"}) {
        std::setvbuf(stdout, nullptr, _IOLBF, 0);
        measureKernels(options.runs);
        return 0;
    }
    const std::vector<Block> blocks = {{"1.44M", kFloppyBlock, "1.44M"}, {"1 GiB", kGiB, "1G"}};
    // Progress goes to stderr and the report to stdout: keep them in order
    // when both go to one file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Scratch scratch(options.dir);
    const std::string source = scratch.path("source.bin");
    const std::string ourTarget = scratch.path("ours");
    const std::string cliTarget = scratch.path("cli");
    const std::string reference = scratch.path("ref");
    const std::string toolPrefix = scratch.path("cu");
    const std::string ourMerged = scratch.path("merged-ours.bin");
    const std::string cliMerged = scratch.path("merged-cli.bin");
    const std::string toolMerged = scratch.path("merged-cu.bin");
    const std::string script = scratch.path("Link.bat");

    // Every name the run can create, listed before the first file exists
    // (an interrupt also sweeps whatever else the folder holds).
    std::vector<std::string> everything{source, ourMerged, cliMerged, toolMerged, script};
    const PairSet checked{scratch.folder(), source,      reference,    ourTarget,   toolPrefix,
                          toolMerged,       /*block=*/0, /*pieces=*/0, options.copy};
    for (const auto& list : {pairFileNames(checked), copyOnWriteFileNames(scratch)}) {
        everything.insert(everything.end(), list.begin(), list.end());
    }
    for (const auto& b : blocks) {
        const std::int64_t n = pieceCount(options.size, b.bytes);
        for (const auto& list :
             {ourPieces(ourTarget, n), ourPieces(cliTarget, n), toolPieces(reference, n),
              toolPieces(toolPrefix, n), recoveryFileNames(scratch, n)}) {
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
        if (!options.wants("plain") && !options.wants("sums") &&
            !(options.wants("recovery") && block.bytes == kFloppyBlock)) {
            continue;
        }
        if (block.bytes > options.size) {
            for (const char* op : {"split ", "merge "}) {
                Series skipped;
                skipped.operation = op + block.label;
                skipped.skipped = true;
                skipped.why = "the block is larger than the file";
                all.push_back(skipped);
            }
            continue;
        }
        const std::int64_t n = pieceCount(options.size, block.bytes);
        const auto refPieces = toolPieces(reference, n);
        const auto cuPieces = toolPieces(toolPrefix, n);
        const auto oursPieces = ourPieces(ourTarget, n);
        const auto cliPieces = ourPieces(cliTarget, n);

        // The reference pieces, checked once against the source; every later
        // split is compared with them piece by piece.
        runTool(toolSplitCommand(source, reference, block.bytes, n), "");
        expectSameBytes(refPieces, {source}, buffers);

        const auto checkSplit = [&](const std::string& target,
                                    const std::vector<std::string>& pieces) {
            expectSamePieces(pieces, refPieces, buffers);
            if (fileExists(toUtf8(pieceName(fromUtf8(target), n + 1)))) {
                throw std::runtime_error("MISMATCH: the split wrote a piece too many");
            }
        };
        std::vector<std::string> oursOutputs = oursPieces;
        oursOutputs.push_back(script);
        std::vector<std::string> cliOutputs = cliPieces;
        cliOutputs.push_back(script);
        if (options.wants("plain")) {
            all.push_back(race(
                "split " + block.label,
                {{"ours",
                  [&] {
                      return timed(runOurSplit(source, ourTarget, block.bytes, n, options.copy));
                  },
                  [&] { checkSplit(ourTarget, oursPieces); }, oursOutputs},
                 {"cli",
                  [&] { return timed(runTool(cliSplitCommand(source, cliTarget, block), "")); },
                  [&] { checkSplit(cliTarget, cliPieces); }, cliOutputs},
                 {"coreutils",
                  [&] {
                      return timed(
                          runTool(toolSplitCommand(source, toolPrefix, block.bytes, n), ""));
                  },
                  [&] { expectSamePieces(cuPieces, refPieces, buffers); }, cuPieces}},
                options.runs, scratch.folder()));

            all.push_back(
                race("merge " + block.label,
                     {{"ours",
                       [&] { return timed(runOurMerge(refPieces, ourMerged, options.copy)); },
                       [&] { expectSameBytes({ourMerged}, {source}, buffers); },
                       {ourMerged}},
                      {"cli",
                       [&] { return timed(runTool(cliMergeCommand(refPieces, cliMerged), "")); },
                       [&] { expectSameBytes({cliMerged}, {source}, buffers); },
                       {cliMerged}},
                      {"coreutils",
                       [&] { return timed(runTool(catCommand(refPieces), toolMerged)); },
                       [&] { expectSameBytes({toolMerged}, {source}, buffers); },
                       {toolMerged}}},
                     options.runs, scratch.folder()));
        }

        // The same with checksums, against the tools doing it by hand.
        PairSet withSums = checked;
        withSums.block = block.bytes;
        withSums.pieces = n;
        if (options.wants("sums")) {
            racePair(withSums, Sums::With, "+sha256 " + block.label, options.runs, buffers, all);
        }
        if (options.wants("recovery") && block.bytes == kFloppyBlock) {
            raceRecovery(scratch, source, refPieces, block.bytes, options.runs, options.copy,
                         buffers, all);
        }
        removeAndSettle(refPieces, scratch.folder());
    }
    removeAndSettle({source}, scratch.folder());
    if (options.wants("cow")) {
        raceOnCopyOnWrite(scratch, options.size, options.runs, options.copy, buffers, all);
    }
    printReport(all, options.size);
    if (options.wants("sets")) {
        measureSets(scratch, options.copy, buffers);
    }
    if (options.wants("kernels")) {
        measureKernels(options.runs);
    }
    if (options.only.empty()) {
        measureChecksumFlood();
    }
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
