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
#include "engine/set/piece_set.h"

namespace tessark::cli {
namespace {

// "'/d/x.003'", or "'/d/x.003' and 4 more".
std::string missingText(const PieceSet& set) {
    std::string text = quoted(set.folder + set.missing.front());
    if (set.missingCount > 1) {
        text += " and " + std::to_string(set.missingCount - 1) + " more";
    }
    return text;
}

// The set of a first piece, as Add lists it: refused (with the exit status)
// when it is empty or, unless allowed, has gaps. The checksum file read with
// the set goes with the request, so the merge does not read it again.
std::optional<int> takeSet(FileSystem& fs, const Text& first, const MergeOptions& options,
                           MergeRequest& request) {
    PieceSet set = readPieceSet(fs, first);
    request.pieces = set.present();
    if (request.pieces.empty()) {
        return fail("cannot join " + quoted(first) + ": no such file");
    }
    if (set.missingCount != 0 && !options.allowGaps) {
        return fail("the set of " + quoted(first) + " is incomplete: " + missingText(set) +
                    " missing (--allow-gaps joins it all the same)");
    }
    if (const std::string leftovers = leftoversText(set, fs.separator()); !leftovers.empty()) {
        complain(leftovers + "; they are not joined");
    }
    request.output = options.output ? absolutePath(*options.output) : set.proposedOutput;
    request.checksums = std::move(set.checksums);
    return std::nullopt;
}

// "piece 2 is '/d/m.003' where '/d/m.sha256' lists m.002".
std::string differenceText(const ListDifference& d, const std::string& file) {
    const std::string place = "piece " + std::to_string(d.index + 1);
    if (d.listed && d.expected) {
        return place + " is " + quoted(*d.listed) + " where " + file + " lists " +
               toUtf8(*d.expected);
    }
    if (d.listed) {
        return place + ", " + quoted(*d.listed) + ", is not in " + file;
    }
    return file + " lists " + toUtf8(d.expected.value_or(Text())) + " as " + place +
           ", which the list lacks";
}

// Without a question to ask, a checksum file that cannot be read stops the
// merge, and so does a list that is not the one it lists: typed out, or a
// set with gaps joined all the same. Either would write a file the checksum
// file says is not the one that was cut.
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
            return fail("the pieces differ from those in " + file + ": " +
                        differenceText(*plan.checks.difference, file) +
                        "; --no-verify joins them without checking");
    }
    return std::nullopt;
}

std::string damageText(const MergePlan& plan, const MergeOutcome& damage) {
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
    const bool typedList =
        options.inputs.size() != 1 || !isFirstPiece(fromUtf8(options.inputs.front()));
    request.stop = stopRequested;
    try {
        if (!typedList) {
            if (auto refused =
                    takeSet(fs, absolutePath(options.inputs.front()), options, request)) {
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
        const MergeOutcome outcome = runMerge(fs, plan, reportTo(line));
        line.finish();
        switch (outcome.result) {
            case MergeResult::Joined:
                return 0;
            case MergeResult::PieceDamaged:
            case MergeResult::WholeDiffers:
                return fail(damageText(plan, outcome));
            case MergeResult::Stopped:
                complain(
                    "merge into " + quoted(plan.output) + " stopped; " +
                    (plan.replacesExisting ? "the file was left as it was" : "no file was made"));
                return kStoppedStatus;
        }
        return kFailureStatus;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
