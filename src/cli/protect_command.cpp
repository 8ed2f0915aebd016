// SPDX-License-Identifier: MIT
// tessark-cli protect: recovery files for a set that has none, or new ones.
// Recovery data made from damaged pieces would rebuild the damage, so the set
// is checked against its checksum file first.
#include <variant>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/checksum/set_checksums.h"
#include "engine/core/file_system.h"
#include "engine/recovery/par2_create.h"
#include "engine/set/piece_set.h"

namespace tessark::cli {
namespace {

const char* createCheckText(recovery::CreateCheck check) {
    switch (check) {
        case recovery::CreateCheck::NoPieces:
            return "the set has no pieces";
        case recovery::CreateCheck::EmptyPiece:
            return "a piece of the set is empty; it has nothing to protect";
        case recovery::CreateCheck::BadSliceSize:
            return "the pieces cannot be cut into slices";
        case recovery::CreateCheck::TooManySlices:
            return "a set of more than 32,768 pieces cannot have recovery data";
        case recovery::CreateCheck::BadRecoveryCount:
            return "the number of recovery slices must be 1 to 32,768";
    }
    return "cannot write recovery data";
}

}  // namespace

int protectCommand(FileSystem& fs, const ProtectOptions& options) {
    const Text first = absolutePath(options.firstPiece);
    const auto file = checksumFileOf(first);
    if (!file) {
        complain(quoted(first) + " is not a piece of a set (a name ending in .001)");
        return kUsageStatus;
    }
    try {
        if (!fs.fileExists(*file)) {
            return fail("no checksum file " + quoted(*file) + " beside " + quoted(first) +
                        "; the set is checked against it before it is protected");
        }
        ProgressLine line = progressLineFor(options.quiet);
        const ProgressFn report = reportTo(line);
        SetReadOptions read;
        read.stop = stopRequested;
        read.hash = true;
        read.progress = report;
        const PieceSet set = readPieceSet(fs, first, read);
        if (!set.listed()) {
            line.finish();
            return fail("cannot read " + quoted(*file) + " as the checksum file of " +
                        quoted(first));
        }
        if (set.hashing == SetHashing::Stopped) {
            line.finish();
            complain("protect stopped; no recovery file was written");
            return kStoppedStatus;
        }
        recovery::CreateRequest request;
        request.base = file->substr(0, file->size() - Text(u".sha256").size());
        request.recoverySlices = static_cast<std::uint32_t>(options.recovery);
        for (const SetPiece& piece : set.pieces) {
            request.pieces.push_back(set.pathOf(piece));
            if (piece.state != PieceState::Matches) {
                line.finish();
                const char* why = piece.state == PieceState::Missing
                                      ? " is missing"
                                      : " does not match its checksum file";
                return fail("piece " + quoted(request.pieces.back()) + why +
                            "; only a sound set can be protected");
            }
        }
        const auto outcome = recovery::protectPieces(fs, request, report);
        line.finish();
        if (const auto* refused = std::get_if<recovery::CreateCheck>(&outcome)) {
            return fail(createCheckText(*refused));
        }
        switch (std::get<recovery::ProtectOutcome>(outcome)) {
            case recovery::ProtectOutcome::Written:
                return 0;
            case recovery::ProtectOutcome::Stopped:
                complain("protect stopped; no recovery file was written");
                return kStoppedStatus;
        }
        return 0;
    } catch (const RuntimeError& error) {
        return fail(describe(error));
    }
}

}  // namespace tessark::cli
