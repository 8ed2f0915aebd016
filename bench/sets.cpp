// SPDX-License-Identifier: MIT
#include "sets.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "bench_window.h"
#include "engine/core/piece_names.h"
#include "engine/core/text.h"
#include "engine/platform/native_file_system.h"
#include "engine/split/split_plan.h"
#include "forms/merge_list.h"

namespace tessark::bench {
namespace {

// Small pieces, so that the cost is the pieces' number and not their bytes.
constexpr std::int64_t kSetBlock = 1024;

struct SetCost {
    std::int64_t pieces;
    double splitSeconds, addSeconds;
};

SetCost measureSet(const Scratch& scratch, std::int64_t pieces, CopyPath copy,
                   CompareBuffers& buffers) {
    const std::string source = scratch.path("set-source.bin");
    const std::string target = scratch.path("set");
    std::vector<std::string> names;
    for (std::int64_t i = 1; i <= pieces; ++i) {
        names.push_back(toUtf8(pieceName(fromUtf8(target), i)));
    }
    writeRandomFile(source, pieces * kSetBlock, buffers.first);

    const OurRun split = runOurSplit(source, target, kSetBlock, pieces, copy);
    expectSameBytes(names, {source}, buffers);

    const OurRun add = inChild([&] {
        const auto fs = makeNativeFileSystem();
        BenchWindow window;
        MainControls controls = window.controls();
        addPiecesFrom(controls, *fs, fromUtf8(names.front()));
        if (window.list.count() != pieces || !window.messages.shown.empty()) {
            throw std::runtime_error("Add listed " + std::to_string(window.list.count()) +
                                     " pieces of " + std::to_string(pieces) + " and showed " +
                                     std::to_string(window.messages.shown.size()) + " boxes");
        }
    });

    names.push_back(source);
    names.push_back(scratch.path("Link.bat"));
    removeAndSettle(names, scratch.folder());
    return {pieces, split.seconds, add.seconds};
}

// Peak memory of planning a split into a million pieces of a sparse file:
// the plan names its pieces on demand, so this stays near nothing.
constexpr std::int64_t kPlanPieces = 1'000'000;

std::int64_t planPeakKiB(const Scratch& scratch) {
    const std::string source = scratch.path("plan-source.bin");
    makeSparseFile(source, kPlanPieces * kSetBlock);
    const OurRun plan = inChild([&] {
        const auto fs = makeNativeFileSystem();
        const auto checked = planSplit(*fs, {fromUtf8(source), fromUtf8(scratch.path("plan")),
                                             BlockSize::ofBytes(kSetBlock), true});
        const auto* made = std::get_if<SplitPlan>(&checked);
        if (made == nullptr || made->pieceCount() != kPlanPieces) {
            throw std::runtime_error("the million-piece split was not planned");
        }
    });
    removeAndSettle({source}, scratch.folder());
    return plan.peakAboveIdleKiB;
}

double microsecondsEach(double seconds, std::int64_t pieces) {
    return seconds * 1e6 / static_cast<double>(pieces);
}

}  // namespace

void measureSets(const Scratch& scratch, CopyPath copy, CompareBuffers& buffers) {
    std::vector<SetCost> costs;
    for (const std::int64_t pieces : {std::int64_t{10000}, std::int64_t{100000}}) {
        std::fprintf(stderr, "  set of %lld pieces\n", static_cast<long long>(pieces));
        costs.push_back(measureSet(scratch, pieces, copy, buffers));
    }
    std::printf("\nLarge sets (1 KiB pieces; one run each, in a new process)\n");
    for (const auto& c : costs) {
        std::printf("%7lld pieces  split %7.3f s = %6.1f us/piece   Add %7.3f s = %6.1f us/piece\n",
                    static_cast<long long>(c.pieces), c.splitSeconds,
                    microsecondsEach(c.splitSeconds, c.pieces), c.addSeconds,
                    microsecondsEach(c.addSeconds, c.pieces));
    }
    const auto growth = [&](double SetCost::*field) {
        return microsecondsEach(costs[1].*field, costs[1].pieces) /
               microsecondsEach(costs[0].*field, costs[0].pieces);
    };
    std::printf("cost per piece, 100,000 / 10,000: split %.2f, Add %.2f (1 = linear)\n",
                growth(&SetCost::splitSeconds), growth(&SetCost::addSeconds));
    std::fprintf(stderr, "  plan of %lld pieces\n", static_cast<long long>(kPlanPieces));
    const std::int64_t peak = planPeakKiB(scratch);
    if (peak >= 0) {
        std::printf("planning a split into 1,000,000 pieces: peak %.1f MiB\n",
                    static_cast<double>(peak) / 1024);
    } else {
        std::printf("planning a split into 1,000,000 pieces: peak memory not reported here\n");
    }
}

}  // namespace tessark::bench
