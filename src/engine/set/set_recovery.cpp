// SPDX-License-Identifier: MIT
#include "engine/set/set_recovery.h"

#include <vector>

#include "engine/core/file_system.h"

namespace tessark {

std::optional<recovery::RecoveryCheck> lookUpRecovery(FileSystem& fs, PieceSet& set,
                                                      const ProgressFn& report) {
    std::vector<recovery::PieceKnown> known;
    known.reserve(set.pieces.size());
    for (const SetPiece& piece : set.pieces) {
        switch (piece.state) {
            case PieceState::Present:
            case PieceState::Matches:
                known.push_back(recovery::PieceKnown::Good);
                break;
            case PieceState::Missing:
            case PieceState::Damaged:
            case PieceState::Unreadable:
                known.push_back(recovery::PieceKnown::Unknown);
                break;
        }
    }
    if (set.run > 0) {
        // A numbered run is held as a count; its pieces are all there.
        known.assign(static_cast<std::size_t>(set.run), recovery::PieceKnown::Good);
    }
    const Text folder =
        set.folder.empty() ? set.folder : set.folder.substr(0, set.folder.size() - 1);
    Progress progress;
    auto check = recovery::checkRecovery(fs, folder, pieceNames(set), known, progress, report);
    if (!check) {
        return check;
    }
    set.recovery.looked = true;
    set.recovery.found = check->setFound;
    set.recovery.lostSlices = check->lostSlices;
    set.recovery.recoverySlices = check->recoverySlices();
    for (const recovery::RecoveryFileReport& file : check->files) {
        if (file.note == recovery::FileNote::Used) {
            set.recovery.files.push_back(file.name);
        }
    }
    return check;
}

}  // namespace tessark
