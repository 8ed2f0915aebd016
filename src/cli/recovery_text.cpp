// SPDX-License-Identifier: MIT
#include "cli/recovery_text.h"

#include "cli/command_support.h"
#include "cli/error_text.h"
#include "cli/refusals.h"

namespace tessark::cli {

namespace {

// More names than this make the line no clearer.
constexpr std::size_t kNamesShown = 5;

const char* noteText(recovery::FileNote note) {
    switch (note) {
        case recovery::FileNote::Used:
        case recovery::FileNote::OtherSet:
            return nullptr;
        case recovery::FileNote::Unreadable:
            return "it could not be read";
        case recovery::FileNote::NotRecoveryData:
            return "it holds no sound PAR 2.0 packet";
    }
    return nullptr;
}

}  // namespace

std::string notEnoughText(const recovery::RecoveryCheck& check) {
    return "not enough recovery data: " + std::to_string(check.lostSlices) +
           " slices are needed, there are " + std::to_string(check.recoverySlices());
}

std::string usedFilesText(const recovery::RecoveryCheck& check) {
    std::string text;
    std::size_t shown = 0;
    std::size_t more = 0;
    for (const recovery::RecoveryFileReport& file : check.files) {
        if (file.note != recovery::FileNote::Used) {
            continue;
        }
        if (shown == kNamesShown) {
            ++more;
            continue;
        }
        text += (shown++ == 0 ? "" : ", ") + toUtf8(file.name);
    }
    if (more != 0) {
        text += " and " + std::to_string(more) + " more";
    }
    return text;
}

void noteRecoveryFiles(const recovery::RecoveryCheck& check) {
    for (const recovery::RecoveryFileReport& file : check.files) {
        const std::string name = quoted(file.name);
        if (const char* why = noteText(file.note)) {
            std::string line = "passed over " + name + ": " + why;
            if (file.note == recovery::FileNote::Unreadable) {
                line += " (" + errorNumberMeaning(file.error) + ")";
            }
            complain(line);
        } else if (file.note == recovery::FileNote::Used &&
                   (file.brokenPackets != 0 || file.cutShort)) {
            complain("used " + name + " without its damaged part" +
                     (file.brokenPackets != 0
                          ? " (" + std::to_string(file.brokenPackets) +
                                (file.brokenPackets == 1 ? " damaged packet)" : " damaged packets)")
                          : std::string()));
        }
    }
}

std::optional<std::size_t> notRebuildable(const recovery::RecoveryCheck& check,
                                          const std::vector<std::size_t>& pieces) {
    for (const std::size_t piece : pieces) {
        if (piece >= check.pieceReports.size() || !check.pieceReports[piece].needsRepair()) {
            return piece;
        }
    }
    return std::nullopt;
}

std::string rebuildFailureText(recovery::RebuildOutcome outcome,
                               const recovery::RecoveryCheck& check) {
    switch (outcome) {
        case recovery::RebuildOutcome::Rebuilt:
        case recovery::RebuildOutcome::Stopped:
            return {};
        case recovery::RebuildOutcome::NoSet:
        case recovery::RebuildOutcome::NotEnough:
            return notEnoughText(check);
        case recovery::RebuildOutcome::TooManyLost:
            return "too many slices are lost to rebuild them at once";
        case recovery::RebuildOutcome::Unsolvable:
            return "the recovery data at hand cannot rebuild these slices";
        case recovery::RebuildOutcome::WrongResult:
            return "the recovery files changed while the pieces were rebuilt";
    }
    return {};
}

}  // namespace tessark::cli
