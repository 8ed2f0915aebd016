// SPDX-License-Identifier: MIT
// tessark-cli merge: the set of a first piece as Add finds it, or the pieces
// as listed, joined as the window's Start merge joins them.
#include <optional>
#include <variant>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/file_system.h"
#include "engine/merge/merge_plan.h"
#include "engine/merge/piece_set.h"

namespace tessark::cli {
namespace {

// "'/d/x.003'", or "'/d/x.003' and 4 more".
std::string missingText(const Text& folder, const std::vector<Text>& missing) {
    std::string text = quoted(folder + missing.front());
    if (missing.size() > 1) {
        text += " and " + std::to_string(missing.size() - 1) + " more";
    }
    return text;
}

// Any other set of a first piece, listed as Add lists it: refused (with the
// exit status) when it is empty or, unless allowed, has gaps.
std::optional<int> listedSet(FileSystem& fs, const Text& first, const MergeOptions& options,
                             MergeRequest& request) {
    const PieceSet set = findPieceSet(fs, first);
    if (set.members.empty()) {
        return fail("cannot join " + quoted(first) + ": no such file");
    }
    if (!set.missing.empty() && !options.allowGaps) {
        const PieceMember& any = set.members.front();
        const Text folder = any.path.substr(0, any.path.size() - any.name.size());
        return fail("the set of " + quoted(first) +
                    " is incomplete: " + missingText(folder, set.missing) +
                    " missing (--allow-gaps joins it all the same)");
    }
    for (const auto& member : set.members) {
        request.pieces.push_back(member.path);
    }
    request.output = options.output ? absolutePath(*options.output) : set.proposedOutput;
    return std::nullopt;
}

// Without a question to ask, a checksum file that cannot be read stops the
// merge; one that vouches for part of the list is used for that part.
std::optional<int> refuseChecks(const MergePlan& plan) {
    const std::string file = quoted(plan.checks.file);
    switch (plan.checks.status) {
        case ChecksumStatus::None:
        case ChecksumStatus::Matches:
            return std::nullopt;
        case ChecksumStatus::Unrecognised:
            return fail("cannot read " + file +
                        " as a checksum file; --no-verify joins without checking");
        case ChecksumStatus::Differs:
            complain("the pieces differ from those in " + file +
                     "; checking the pieces it names, not the joined file");
            return std::nullopt;
    }
    return std::nullopt;
}

std::string damageText(const MergePlan& plan, const MergeDamaged& damage) {
    const std::string kept =
        plan.replacesExisting ? "the file was left as it was" : "no file was made";
    if (damage.piece) {
        return quoted(plan.pieces[*damage.piece]) + " is damaged (its checksum in " +
               quoted(plan.checks.file) + " does not match); merge into " + quoted(plan.output) +
               " stopped, " + kept;
    }
    return "the joined pieces do not match the checksum of the whole file in " +
           quoted(plan.checks.file) + "; merge into " + quoted(plan.output) + " stopped, " + kept;
}

}  // namespace

int mergeCommand(FileSystem& fs, const MergeOptions& options) {
    MergeRequest request;
    request.verify = options.verify;
    request.stop = stopRequested;
    try {
        if (options.inputs.size() == 1 && isFirstPiece(fromUtf8(options.inputs.front()))) {
            const Text first = absolutePath(options.inputs.front());
            // A whole set as a split wrote it is joined without listing it.
            if (const auto count = countNumberedSet(fs, first)) {
                request.pieces = PieceList::numbered(first, *count);
                request.output =
                    options.output ? absolutePath(*options.output) : proposedOutputOf(first);
            } else if (auto refused = listedSet(fs, first, options, request)) {
                return *refused;
            }
        } else {
            if (!options.output) {
                writeError(
                    "tessark-cli: a list of pieces needs the output's name (-o OUTPUT)\n"
                    "Try 'tessark-cli --help' for more information.\n");
                return kUsageStatus;
            }
            for (const auto& piece : options.inputs) {
                request.pieces.push_back(absolutePath(piece));
            }
            request.output = absolutePath(*options.output);
        }

        const auto checked = planMerge(fs, request);
        if (const auto* refusal = std::get_if<MergeRefusal>(&checked)) {
            return fail(mergeRefusalText(refusal->check, request));
        }
        const auto& plan = std::get<MergePlan>(checked);
        if (const auto refused = refuseChecks(plan)) {
            return *refused;
        }
        // Before anything is written, rather than part way through.
        try {
            measurePieces(fs, plan.pieces);
        } catch (const RuntimeError& error) {
            if (error.number() == err::FileNotFound || error.number() == err::PathNotFound) {
                return fail("cannot join " + quoted(error.path()) + ": no such file");
            }
            throw;
        }
        if (plan.replacesExisting && !options.force) {
            return fail(quoted(plan.output) + " already exists; -f replaces it");
        }
        ProgressLine line = progressLineFor(options.quiet);
        RunOutcome outcome = RunOutcome::Completed;
        try {
            outcome = runMerge(fs, plan, reportTo(line));
        } catch (const MergeDamaged& damage) {
            line.finish();
            return fail(damageText(plan, damage));
        }
        line.finish();
        if (outcome == RunOutcome::Stopped) {
            complain("merge into " + quoted(plan.output) + " stopped; " +
                     (plan.replacesExisting ? "the file was left as it was" : "no file was made"));
            return kStoppedStatus;
        }
        return 0;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
