// SPDX-License-Identifier: MIT
#include "repaired_merge.h"

#include <algorithm>
#include <stdexcept>
#include <variant>

#include "engine/core/text.h"
#include "engine/merge/merge_plan.h"
#include "engine/merge/merge_repair.h"
#include "engine/platform/native_file_system.h"
#include "engine/platform/posix_file_system.h"
#include "names.h"

namespace tessark::bench {
namespace {

bool keepGoing(const Progress&) {
    return true;
}

// The merge that rebuilds, as the window runs it when pieces are missing:
// the pieces that are there listed, only the recovery files read before the
// merge, the missing piece rebuilt into a temporary file and joined in its
// place, every SHA-256 checked. In one new child process.
Timing engineRepairedMerge(const std::vector<std::string>& pieces, std::size_t lost,
                           const std::string& output, CopyPath copy) {
    return timed(inChild([&] {
        const auto fs =
            copy == CopyPath::Native ? makeNativeFileSystem() : makePosixFileSystem(false);
        MergeRequest request{fromUtf8(output), {}, true};
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i != lost) {
                request.pieces.push_back(fromUtf8(pieces[i]));
            }
        }
        const auto checked = planMerge(*fs, request);
        const auto* plan = std::get_if<MergePlan>(&checked);
        if (plan == nullptr) {
            throw std::runtime_error("the merge of the pieces that are there was refused");
        }
        const auto set = repairSetOf(*fs, *plan);
        if (!set) {
            throw std::runtime_error("the merge list is not the checksum file's set");
        }
        const auto check =
            checkRepair(*fs, *set, static_cast<std::int64_t>(plan->pieces.size()), keepGoing);
        if (!check || !check->setFound || !check->repairable()) {
            throw std::runtime_error("the recovery data cannot rebuild the missing piece");
        }
        const RepairedMerge run = runRepairedMerge(*fs, *plan, *set, *check, keepGoing);
        if (run.rebuild != recovery::RebuildOutcome::Rebuilt ||
            run.merge.result != MergeResult::Joined) {
            throw std::runtime_error("the merge that rebuilds did not join the set");
        }
    }));
}

}  // namespace

Timing timeRepairedMerge(const std::vector<std::string>& pieces, std::size_t lost,
                         const std::string& output, CopyPath copy) {
    return engineRepairedMerge(pieces, lost, output, copy);
}

}  // namespace tessark::bench
