// SPDX-License-Identifier: MIT
// tessark-cli verify: the engine checks every piece of a set (and the joined
// file, when named) against the set's checksum file; this prints its verdict,
// one line per file as the GNU tools print them, without joining anything,
// and when pieces failed, whether the recovery data beside them can rebuild
// them.
#include <cstdint>
#include <vector>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/recovery_text.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/file_system.h"
#include "engine/recovery/par2_check.h"
#include "engine/set/piece_set.h"

namespace tessark::cli {
namespace {

struct Tally {
    std::int64_t ok = 0;
    std::int64_t failed = 0;
    std::int64_t missing = 0;

    // The word for the file's state, counted. A file that could not be read
    // has FAILED, as the GNU tools count it.
    const char* add(PieceState state) {
        switch (state) {
            case PieceState::Matches:
                ++ok;
                return "OK";
            case PieceState::Missing:
                ++missing;
                return "MISSING";
            case PieceState::Present:  // not hashed: nothing vouches for it
            case PieceState::Damaged:
            case PieceState::Unreadable:
                ++failed;
                return "FAILED";
        }
        ++failed;
        return "FAILED";
    }
};

// The last line when pieces failed: whether the recovery data beside the set
// can rebuild them, and which files hold it. The status stays that of the
// set as listed: damaged is damaged, however repairable.
int recoveryVerdict(FileSystem& fs, const PieceSet& set, bool quiet) {
    std::vector<recovery::PieceKnown> known;
    std::vector<std::size_t> lost;
    for (const SetPiece& piece : set.pieces) {
        const bool good = piece.state == PieceState::Matches;
        known.push_back(good ? recovery::PieceKnown::Good : recovery::PieceKnown::Unknown);
        if (!good) {
            lost.push_back(known.size() - 1);
        }
    }
    if (lost.empty()) {
        return kFailureStatus;  // only the joined file differs
    }
    ProgressLine line = progressLineFor(quiet);
    Progress progress;
    const auto check = recovery::checkRecovery(fs, set.folder.substr(0, set.folder.size() - 1),
                                               pieceNames(set), known, progress, reportTo(line));
    line.finish();
    if (!check) {
        complain("verify stopped");
        return kStoppedStatus;
    }
    noteRecoveryFiles(*check);
    if (!check->setFound) {
        complain("no recovery data beside the set");
    } else if (!check->repairable()) {
        complain(notEnoughText(*check));
    } else if (const auto piece = notRebuildable(*check, lost)) {
        complain("the recovery data in " + usedFilesText(*check) + " cannot rebuild " +
                 toUtf8(check->pieces[*piece]));
    } else {
        complain("repairable with the recovery data in " + usedFilesText(*check) +
                 ": merge rebuilds what is lost, repair rebuilds it in place");
    }
    return kFailureStatus;
}

}  // namespace

int verifyCommand(FileSystem& fs, const VerifyOptions& options) {
    const auto found = firstPieceOf(options.firstPiece);
    if (!found) {
        return kUsageStatus;
    }
    const Text& first = *found;
    try {
        ProgressLine line = progressLineFor(options.quiet);
        SetReadOptions read{true, std::nullopt, reportTo(line), stopRequested};
        if (options.output) {
            read.joined = absolutePath(*options.output);
        }
        const PieceSet set = readPieceSet(fs, first, read);
        line.finish();
        const std::string file = quoted(set.checksums.path);
        switch (set.checksums.status) {
            case ChecksumFileStatus::None:
                complain("no checksum file " + file + " beside " + quoted(first));
                return kUsageStatus;
            case ChecksumFileStatus::Unreadable:
                return fail("cannot read " + file + " as the checksum file of " + quoted(first));
            case ChecksumFileStatus::Read:
                break;
        }
        if (options.output && !set.whole()) {
            return fail(file + " holds no checksum of the joined file");
        }
        if (set.hashing != SetHashing::Done) {
            complain("verify stopped");
            return kStoppedStatus;
        }
        Tally tally;
        std::string text;
        for (const SetPiece& piece : set.pieces) {
            if (piece.error) {
                complain(describe(*piece.error));
            }
            text += toUtf8(piece.name) + ": " + tally.add(piece.state) + "\n";
        }
        if (set.joined) {
            text += *options.output + ": " + tally.add(*set.joined) + "\n";
        }
        writeOut(text);
        if (const std::string leftovers = leftoversText(set, fs.separator()); !leftovers.empty()) {
            complain(leftovers);
        }
        const std::string summary = toUtf8(GetFileName(set.checksums.path, fs.separator())) + ": " +
                                    std::to_string(tally.ok) + " OK, " +
                                    std::to_string(tally.failed) + " FAILED, " +
                                    std::to_string(tally.missing) + " MISSING";
        if (tally.failed != 0 || tally.missing != 0) {
            complain(summary);
            return recoveryVerdict(fs, set, options.quiet);
        }
        writeOut(summary + "\n");
        return 0;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
