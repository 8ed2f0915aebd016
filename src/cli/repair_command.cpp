// SPDX-License-Identifier: MIT
// tessark-cli repair: damaged or missing pieces rebuilt in place from the
// recovery files beside them, each written staged and renamed over; a
// damaged piece stays as NAME.damaged.
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/recovery_text.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/file_system.h"
#include "engine/core/piece_names.h"
#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_rebuild.h"
#include "engine/set/piece_set.h"

namespace tessark::cli {

int repairCommand(FileSystem& fs, const RepairOptions& options) {
    const auto found = firstPieceOf(options.firstPiece);
    if (!found) {
        return kUsageStatus;
    }
    const Text& first = *found;
    try {
        SetReadOptions read;
        read.stop = stopRequested;
        const PieceSet set = readPieceSet(fs, first, read);
        if (set.checksums.status == ChecksumFileStatus::Unreadable) {
            return fail("cannot read the set's checksum file " + quoted(set.checksums.path));
        }
        const Text folder = set.folder.substr(0, set.folder.size() - 1);
        const std::vector<Text> names = pieceNames(set);
        ProgressLine line = progressLineFor(options.quiet);
        const ProgressFn report = reportTo(line);
        Progress progress;
        const auto check = recovery::checkRecovery(fs, folder, names, {}, progress, report);
        if (!check) {
            line.finish();
            complain("repair stopped; no piece was changed");
            return kStoppedStatus;
        }
        line.finish();
        noteRecoveryFiles(*check);
        if (!check->setFound) {
            return fail("no recovery data beside " + quoted(first) + " describes its pieces");
        }
        // A missing piece the recovery data does not describe is not rebuilt,
        // and the set is not sound without it.
        std::vector<std::size_t> missing;
        for (std::size_t i = 0; i < set.pieces.size(); ++i) {
            if (set.pieces[i].state == PieceState::Missing) {
                missing.push_back(i);
            }
        }
        if (const auto piece = notRebuildable(*check, missing)) {
            return fail("the recovery data in " + usedFilesText(*check) + " cannot rebuild " +
                        toUtf8(names[*piece]) + ", which is missing; no piece was changed");
        }
        if (!check->anyDamage()) {
            writeOut("every piece is sound; nothing to repair\n");
            return 0;
        }
        if (!check->repairable()) {
            return fail(notEnoughText(*check));
        }
        const auto result = recovery::repairInPlace(fs, *check, progress, report);
        line.finish();
        switch (result.outcome) {
            case recovery::RebuildOutcome::Rebuilt:
                for (const std::size_t p : result.repaired) {
                    writeOut("rebuilt " + toUtf8(names[p]) + "\n");
                }
                return 0;
            case recovery::RebuildOutcome::Stopped:
                complain("repair stopped; no piece was changed");
                return kStoppedStatus;
            case recovery::RebuildOutcome::NoSet:
            case recovery::RebuildOutcome::NotEnough:
            case recovery::RebuildOutcome::TooManyLost:
            case recovery::RebuildOutcome::Unsolvable:
            case recovery::RebuildOutcome::WrongResult:
                return fail(rebuildFailureText(result.outcome, *check) + "; no piece was changed");
        }
        return kFailureStatus;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
