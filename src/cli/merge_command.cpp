// SPDX-License-Identifier: MIT
// tessark-cli merge: the set of a first piece as Add finds it, or the pieces
// as listed, joined as the window's Start merge joins them; damaged or
// missing pieces rebuilt from the recovery data beside the set when it can.
#include <optional>
#include <variant>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/recovery_text.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/file_system.h"
#include "engine/merge/merge_plan.h"
#include "engine/merge/merge_repair.h"
#include "engine/set/piece_set.h"

namespace tessark::cli {
namespace {

// More names than this make a line no clearer.
constexpr std::size_t kNamesShown = 5;

// "'/d/x.003'", or "'/d/x.003' and 4 more".
std::string missingText(const PieceSet& set) {
    std::string text = quoted(set.folder + set.missing.front());
    if (set.missingCount > 1) {
        text += " and " + std::to_string(set.missingCount - 1) + " more";
    }
    return text;
}

// "m.002, m.003 and 4 more".
std::string namesText(const std::vector<Text>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + toUtf8(names[i]);
    }
    if (names.size() > kNamesShown) {
        text += " and " + std::to_string(names.size() - kNamesShown) + " more";
    }
    return text;
}

// The set of a first piece, as Add lists it: refused (with the exit status)
// when it is empty or, unless allowed, has gaps. The checksum file read with
// the set goes with the request, so the merge does not read it again. When
// the checksum file lists the missing pieces, recovery data may rebuild
// them: the refusal waits in `gaps` until that is known.
std::optional<int> takeSet(FileSystem& fs, const Text& first, const MergeOptions& options,
                           MergeRequest& request, std::optional<std::string>& gaps) {
    SetReadOptions read;
    read.stop = stopRequested;
    PieceSet set = readPieceSet(fs, first, read);
    request.pieces = set.present();
    if (request.pieces.empty()) {
        return fail("cannot join " + quoted(first) + ": no such file");
    }
    if (set.missingCount != 0 && !options.allowGaps) {
        gaps = "the set of " + quoted(first) + " is incomplete: " + missingText(set) +
               " missing (--allow-gaps joins it all the same)";
        if (!set.listed() || !options.verify) {
            return fail(*gaps);
        }
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
std::optional<std::string> checksRefusal(const MergePlan& plan) {
    const std::string file = quoted(plan.checks.file);
    switch (plan.checks.status) {
        case ChecksumStatus::None:
        case ChecksumStatus::Matches:
            return std::nullopt;
        case ChecksumStatus::Unrecognised:
            return "cannot read " + file +
                   " as a checksum file; --no-verify joins without checking";
        case ChecksumStatus::Differs:
            return "the pieces differ from those in " + file + ": " +
                   differenceText(*plan.checks.difference, file) +
                   "; --no-verify joins them without checking";
    }
    return std::nullopt;
}

std::string keptText(const MergePlan& plan) {
    return plan.replacesExisting ? "the file was left as it was" : "no file was made";
}

// `piece`: the damaged piece's path; none when the whole differs.
std::string damageText(const MergePlan& plan, const std::optional<Text>& piece) {
    if (piece) {
        return quoted(*piece) + " is damaged (its checksum in " + quoted(plan.checks.file) +
               " does not match); merge into " + quoted(plan.output) + " stopped, " +
               keptText(plan);
    }
    return "the joined pieces do not match the checksum of the whole file in " +
           quoted(plan.checks.file) + "; merge into " + quoted(plan.output) + " stopped, " +
           keptText(plan);
}

int stopped(const MergePlan& plan) {
    complain("merge into " + quoted(plan.output) + " stopped; " + keptText(plan));
    return kStoppedStatus;
}

// What a merge knows was lost before the recovery data is read.
struct Lost {
    std::string refusal;          // what the merge says without recovery data
    std::int64_t goodInList = 0;  // the pieces of the list checked good
    std::optional<std::int64_t> damagedInList;
};

// The pieces of `set` known lost: those left out of the list, and the
// damaged one.
std::vector<std::size_t> knownLost(const RepairSet& set, const Lost& lost) {
    std::vector<std::size_t> pieces;
    for (std::size_t i = 0; i < set.listIndex.size(); ++i) {
        if (set.listIndex[i] < 0 || set.listIndex[i] == lost.damagedInList) {
            pieces.push_back(i);
        }
    }
    return pieces;
}

// Reads the recovery data beside the set and, when it can rebuild what was
// lost, joins the set with the lost pieces rebuilt; otherwise the merge is
// refused as it would be without it, with the reason it cannot.
int mergeRebuilding(FileSystem& fs, const MergePlan& plan, const RepairSet& set, const Lost& lost,
                    const MergeOptions& options, ProgressLine& line) {
    const ProgressFn report = reportTo(line);
    const auto check = checkRepair(fs, set, lost.goodInList, report);
    line.finish();
    if (!check) {
        return stopped(plan);
    }
    noteRecoveryFiles(*check);
    if (!check->setFound) {
        return fail(lost.refusal);
    }
    if (!check->repairable()) {
        complain(lost.refusal);
        return fail(notEnoughText(*check));
    }
    if (const auto piece = notRebuildable(*check, knownLost(set, lost))) {
        complain(lost.refusal);
        return fail("the recovery data beside it cannot rebuild " + toUtf8(set.names[*piece]));
    }
    const std::string names = namesText(lostPieces(*check));
    if (!options.repair) {
        complain(lost.refusal);
        return fail("recovery data (" + usedFilesText(*check) + ") can rebuild " + names +
                    "; merge without --no-repair rebuilds it");
    }
    const RepairedMerge result = runRepairedMerge(fs, plan, set, *check, report);
    line.finish();
    switch (result.rebuild) {
        case recovery::RebuildOutcome::Rebuilt:
            break;
        case recovery::RebuildOutcome::Stopped:
            return stopped(plan);
        case recovery::RebuildOutcome::NoSet:
        case recovery::RebuildOutcome::NotEnough:
        case recovery::RebuildOutcome::TooManyLost:
        case recovery::RebuildOutcome::Unsolvable:
        case recovery::RebuildOutcome::WrongResult:
            complain(lost.refusal);
            return fail(rebuildFailureText(result.rebuild, *check));
    }
    switch (result.merge.result) {
        case MergeResult::Joined:
            for (const Text& name : result.rebuilt) {
                complain("rebuilt " + toUtf8(name) + " from recovery data");
            }
            return 0;
        case MergeResult::PieceDamaged: {
            const Text& name = set.names.at(static_cast<std::size_t>(result.merge.piece.value()));
            return fail(damageText(plan, set.folder + fs.separator() + name) +
                        " (after rebuilding " + names + " from recovery data)");
        }
        case MergeResult::WholeDiffers:
            return fail(damageText(plan, std::nullopt) + " (after rebuilding " + names +
                        " from recovery data)");
        case MergeResult::Stopped:
            return stopped(plan);
    }
    return kFailureStatus;
}

}  // namespace

int mergeCommand(FileSystem& fs, const MergeOptions& options) {
    MergeRequest request;
    request.verify = options.verify;
    std::optional<std::string> gaps;
    const bool typedList =
        options.inputs.size() != 1 || !isFirstPiece(fromUtf8(options.inputs.front()));
    request.stop = stopRequested;
    try {
        if (!typedList) {
            if (auto refused =
                    takeSet(fs, absolutePath(options.inputs.front()), options, request, gaps)) {
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
        // A list that is the checksum file's but for missing pieces is one
        // that recovery data may complete.
        std::optional<RepairSet> gapped;
        if (plan.checks.status == ChecksumStatus::Differs) {
            gapped = repairSetOf(fs, plan);
        }
        const std::optional<std::string> refusal = gaps ? gaps : checksRefusal(plan);
        if (refusal && !gapped) {
            return fail(*refusal);
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
        if (gapped) {
            return mergeRebuilding(fs, plan, *gapped, Lost{refusal.value_or(""), 0, std::nullopt},
                                   options, line);
        }
        const MergeOutcome outcome = runMerge(fs, plan, reportTo(line));
        line.finish();
        switch (outcome.result) {
            case MergeResult::Joined:
                return 0;
            case MergeResult::PieceDamaged: {
                const Text piece = plan.pieces[*outcome.piece];
                if (const auto set = repairSetOf(fs, plan)) {
                    return mergeRebuilding(
                        fs, plan, *set,
                        Lost{damageText(plan, piece), *outcome.piece, *outcome.piece}, options,
                        line);
                }
                return fail(damageText(plan, piece));
            }
            case MergeResult::WholeDiffers:
                return fail(damageText(plan, std::nullopt));
            case MergeResult::Stopped:
                return stopped(plan);
        }
        return kFailureStatus;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
