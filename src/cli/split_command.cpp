// SPDX-License-Identifier: MIT
// tessark-cli split: the window's Start split without the window.
#include <variant>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/file_system.h"
#include "engine/split/split_plan.h"
#include "engine/split/split_settings.h"

namespace tessark::cli {

int splitCommand(FileSystem& fs, const SplitOptions& options) {
    SplitRequest request;
    request.source = absolutePath(options.file);
    request.target =
        options.target ? absolutePath(*options.target) : DeriveTargetName(request.source);
    request.block = BlockSize::ofBytes(options.block);
    request.writeScript = options.writeScript;
    request.writeChecksum = options.writeChecksum;
    request.recoverySlices = options.recovery;

    try {
        const auto checked = planSplit(fs, request);
        if (const auto* refusal = std::get_if<SplitRefusal>(&checked)) {
            // Without a "." there is nowhere to put the "$", and the name
            // proposed for the pieces is the file's own.
            if (refusal->check == SplitCheck::TargetExists && !options.target &&
                request.target == request.source) {
                return fail("cannot propose a name for the pieces of " + quoted(request.source) +
                            " (it has no extension); give one with -o");
            }
            return fail(splitRefusalText(refusal->check, request, refusal->path));
        }
        const auto& plan = std::get<SplitPlan>(checked);
        ProgressLine line = progressLineFor(options.quiet);
        const RunOutcome outcome = runSplit(fs, plan, reportTo(line));
        line.finish();
        if (outcome == RunOutcome::Stopped) {
            complain("split of " + quoted(plan.source) +
                     " stopped; the pieces it made were removed, no Link.bat, checksum or "
                     "recovery file was written");
            return kStoppedStatus;
        }
        if (plan.recovery == SplitRecovery::TooManyPieces) {
            complain(
                "no recovery data was written: a set of more than 32,768 pieces cannot have any");
        }
        return 0;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
