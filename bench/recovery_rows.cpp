// SPDX-License-Identifier: MIT
#include "recovery_rows.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <variant>

#include "engine/core/text.h"
#include "engine/platform/native_file_system.h"
#include "engine/recovery/gf16.h"
#include "engine/recovery/md5.h"
#include "engine/recovery/par2_create.h"
#include "names.h"
#include "repaired_merge.h"

namespace tessark::bench {
namespace {

constexpr std::uint32_t kProtectSlices = 74;

// Where the CRC32 row leaves its sum, so that it is not optimised away.
volatile std::uint32_t crcSink = 0;

// The names of one set: TARGET.001 ..., its checksum file and its recovery
// files with `slices` recovery slices.
struct SetNames {
    std::string target;
    std::vector<std::string> pieces;
    std::string sums;
    std::vector<std::string> recovery;
};

SetNames setNames(const std::string& target, std::int64_t pieces, std::uint32_t slices) {
    SetNames names{target, ourPieces(target, pieces), target + ".sha256", {}};
    for (const Text& path : recovery::recoveryPaths(fromUtf8(target), slices)) {
        names.recovery.push_back(toUtf8(path));
    }
    return names;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Reads the whole file through `take`, 1 MiB at a time.
void readThrough(const std::string& path,
                 const std::function<void(std::span<const std::byte>)>& take) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    std::vector<std::byte> buffer(std::size_t{1} << 20);
    for (;;) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            close(fd);
            throw std::runtime_error("cannot read " + path + ": " + std::strerror(error));
        }
        if (n == 0) {
            break;
        }
        take(std::span(buffer.data(), static_cast<std::size_t>(n)));
    }
    close(fd);
}

// protectPieces on a set, in the calling (child) process, with the kernel
// named (empty: the best one). Throws unless the kernel is the one used.
void protectHere(const SetNames& set, std::uint32_t slices, const std::string& kernel) {
    if (!kernel.empty() && setenv("TESSARK_GF16_KERNEL", kernel.c_str(), 1) != 0) {
        throw std::runtime_error("cannot set TESSARK_GF16_KERNEL");
    }
    if (!kernel.empty() && kernel != gf16::kernelName(gf16::bestKernel())) {
        throw std::runtime_error("the kernel " + kernel + " could not be chosen");
    }
    const auto fs = makeNativeFileSystem();
    recovery::CreateRequest request;
    for (const auto& piece : set.pieces) {
        request.pieces.push_back(fromUtf8(piece));
    }
    request.base = fromUtf8(set.target);
    request.recoverySlices = slices;
    const auto outcome = recovery::protectPieces(*fs, request, {});
    if (!std::holds_alternative<recovery::ProtectOutcome>(outcome) ||
        std::get<recovery::ProtectOutcome>(outcome) != recovery::ProtectOutcome::Written) {
        throw std::runtime_error("protect did not write the recovery files of " + set.target);
    }
}

// `par2 verify` of an index file, the first time only (it reads the whole
// set): that the recovery files are whole is known after one run.
std::function<void()> verifiedOnce(const std::string& index, const std::string& log) {
    auto done = std::make_shared<bool>(false);
    return [=] {
        if (!*done) {
            runTool({"par2", "verify", "-q", index}, log);
            *done = true;
        }
    };
}

// par2's own files beside its index `base`.par2: it names its volumes itself.
std::vector<std::string> par2Outputs(const std::string& folder, const std::string& base) {
    std::vector<std::string> found;
    const std::string stem = base.substr(base.rfind('/') + 1) + ".";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(stem) && name.ends_with(".par2")) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

std::vector<Contestant> splitContestants(const Scratch& scratch, const std::string& source,
                                         const std::vector<std::string>& refPieces,
                                         std::int64_t block, CopyPath copy, CompareBuffers& buffers,
                                         const SetNames& prepared) {
    const auto n = static_cast<std::int64_t>(refPieces.size());
    const SetNames split = setNames(scratch.path("rs"), n, 1);
    const std::string script = scratch.path("Link.bat");
    const std::string log = scratch.path("tool.log");
    const auto splitOutputs = joined(joined(split.pieces, split.recovery), {split.sums, script});
    const auto checkPieces = [=, &buffers] { expectSamePieces(split.pieces, refPieces, buffers); };
    const auto verify = verifiedOnce(split.recovery.front(), log);
    const SetNames recovered = setNames(prepared.target, n, 1);
    return {
        {"default",
         [=] { return timed(runOurSplit(source, split.target, block, n, copy, Sums::With, 1)); },
         [=] { checkPieces(), verify(); }, splitOutputs},
        {"recovery", [=] { return timed(inChild([&] { protectHere(prepared, 1, ""); })); },
         verifiedOnce(recovered.recovery.front(), log), recovered.recovery},
        {"md5",
         [=] {
             return timed(inChild([&] {
                 Md5 md5;
                 readThrough(source, [&](std::span<const std::byte> b) { md5.update(b); });
                 md5.finish();
             }));
         },
         [] {},
         {}},
        {"crc32",
         [=] {
             return timed(inChild([&] {
                 std::uint32_t crc = 0;
                 readThrough(source,
                             [&](std::span<const std::byte> b) { crc = crc32Update(crc, b); });
                 crcSink = crc;
             }));
         },
         [] {},
         {}},
        {"sha256-only",
         [=] { return timed(runOurSplit(source, split.target, block, n, copy, Sums::With, 0)); },
         checkPieces, joined(split.pieces, {split.sums, script})}};
}

std::vector<Contestant> protectContestants(const Scratch& scratch, const SetNames& prepared,
                                           std::int64_t block) {
    const SetNames ours = setNames(
        prepared.target, static_cast<std::int64_t>(prepared.pieces.size()), kProtectSlices);
    const std::string log = scratch.path("tool.log");
    const std::string par2Base = scratch.path("pp");
    const std::string folder = scratch.folder();
    std::vector<Contestant> contestants;
    // The fastest kernel as availableKernels() says: asking bestKernel() here
    // would fix it in this process and in every child forked after.
    const auto available = gf16::availableKernels();
    for (const gf16::Kernel kernel : {gf16::Kernel::Avx2, available.back()}) {
        if (std::find(available.begin(), available.end(), kernel) == available.end()) {
            continue;
        }
        const std::string name = gf16::kernelName(kernel);
        contestants.push_back(
            {"ours-" + name,
             [=] { return timed(inChild([&] { protectHere(prepared, kProtectSlices, name); })); },
             verifiedOnce(ours.recovery.front(), log), ours.recovery});
    }
    const std::string slices = std::to_string(kProtectSlices);
    contestants.push_back(
        {"cli",
         [=] {
             return timed(runTool(
                 {TESSARK_CLI_PATH, "protect", "-q", "-r", slices, prepared.pieces.front()}, log));
         },
         [] {}, ours.recovery});
    std::vector<std::string> par2Create{
        "par2",        "create", "-s" + std::to_string((block + 3) / 4 * 4),
        "-c" + slices, "-q",     par2Base + ".par2"};
    par2Create.insert(par2Create.end(), prepared.pieces.begin(), prepared.pieces.end());
    contestants.push_back({"par2",
                           [=] { return timed(runTool(par2Create, log)); },
                           [=] { removeAndSettle(par2Outputs(folder, par2Base), folder); },
                           {}});
    return contestants;
}

std::vector<Contestant> repairContestants(const Scratch& scratch, const std::string& source,
                                          const std::vector<std::string>& refPieces, CopyPath copy,
                                          CompareBuffers& buffers, const SetNames& damaged,
                                          std::size_t lost) {
    const std::string merged = scratch.path("rq-merged.bin");
    const std::string log = scratch.path("tool.log");
    const auto check = [=, &buffers] {
        expectSameBytes({merged}, {source}, buffers);
        expectSamePieces({damaged.pieces[lost]}, {refPieces[lost]}, buffers);
    };
    const std::vector<std::string> outputs{merged, damaged.pieces[lost]};
    return {{"ours", [=] { return timeRepairedMerge(damaged.pieces, lost, merged, copy); },
             [=, &buffers] { expectSameBytes({merged}, {source}, buffers); }, outputs},
            {"par2+cat",
             [=] {
                 return timed(std::vector<ToolRun>{
                     runTool({"par2", "repair", "-q", damaged.recovery.front()}, log),
                     runTool(catCommand(damaged.pieces), merged)});
             },
             check, outputs}};
}

}  // namespace

std::vector<std::string> recoveryFileNames(const Scratch& scratch, std::int64_t pieces) {
    std::vector<std::string> names{scratch.path("tool.log"), scratch.path("rq-merged.bin")};
    for (const auto& set :
         {setNames(scratch.path("rs"), pieces, 1),
          setNames(scratch.path("pr"), pieces, kProtectSlices),
          setNames(scratch.path("pr"), pieces, 1), setNames(scratch.path("rq"), pieces, 1)}) {
        names = joined(joined(names, set.pieces), set.recovery);
        names.push_back(set.sums);
    }
    return names;
}

void raceRecovery(const Scratch& scratch, const std::string& source,
                  const std::vector<std::string>& refPieces, std::int64_t block, int runs,
                  CopyPath copy, CompareBuffers& buffers, std::vector<Series>& all) {
    const auto n = static_cast<std::int64_t>(refPieces.size());
    const std::string script = scratch.path("Link.bat");
    // The sets the rows start from, made once and checked with the split row's
    // reference: pieces with a checksum file, and the same with one recovery
    // slice and a piece in the middle missing.
    const SetNames prepared = setNames(scratch.path("pr"), n, 1);
    const SetNames damaged = setNames(scratch.path("rq"), n, 1);
    std::fprintf(stderr, "  preparing the recovery rows' sets\n");
    runOurSplit(source, prepared.target, block, n, copy, Sums::With, 0);
    runOurSplit(source, damaged.target, block, n, copy, Sums::With, 1);
    expectSamePieces(prepared.pieces, refPieces, buffers);
    expectSamePieces(damaged.pieces, refPieces, buffers);
    const std::size_t lost = refPieces.size() / 2;
    removeAndSettle({damaged.pieces[lost], script}, scratch.folder());

    all.push_back(race("split default 1.44M",
                       splitContestants(scratch, source, refPieces, block, copy, buffers, prepared),
                       runs, scratch.folder()));
    all.push_back(race("protect -r 74 1.44M", protectContestants(scratch, prepared, block), runs,
                       scratch.folder()));
    all.push_back(race("merge rebuild 1.44M",
                       repairContestants(scratch, source, refPieces, copy, buffers, damaged, lost),
                       runs, scratch.folder()));
    removeAndSettle(joined(joined(prepared.pieces, damaged.pieces), damaged.recovery),
                    scratch.folder());
    removeAndSettle({prepared.sums, damaged.sums, scratch.path("tool.log")}, scratch.folder());
}

}  // namespace tessark::bench
