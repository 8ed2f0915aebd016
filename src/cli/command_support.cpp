// SPDX-License-Identifier: MIT
#include "cli/command_support.h"

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/refusals.h"
#include "cli/stop_signal.h"
#include "engine/core/piece_names.h"
#include "engine/platform/native_file_system.h"
#include "engine/set/piece_set.h"

namespace tessark::cli {

Text absolutePath(const std::string& typed) {
    return absoluteNativePath(fromUtf8(typed));
}

std::optional<Text> firstPieceOf(const std::string& typed) {
    const Text path = absolutePath(typed);
    const auto target = targetOfPiece(path);
    if (!target) {
        complain(quoted(path) + " is not a piece of a set (a name ending in .001)");
        return std::nullopt;
    }
    return pieceName(*target, 1);
}

void complain(const std::string& message) {
    writeError("tessark-cli: " + message + "\n");
}

int fail(const std::string& message) {
    complain(message);
    return kFailureStatus;
}

std::string leftoversText(const PieceSet& set, char16_t separator) {
    const std::int64_t count = set.leftovers.count;
    if (count == 0) {
        return {};
    }
    const std::string file = toUtf8(GetFileName(set.checksums.path, separator));
    const std::string first = toUtf8(set.leftovers.first);
    if (count == 1) {
        return "1 file, " + first + ", is not in " + file;
    }
    return std::to_string(count) + " files such as " + first + " are not in " + file;
}

ProgressLine progressLineFor(bool quiet) {
    return ProgressLine(!quiet && errorIsTerminal(), writeError);
}

ProgressFn reportTo(ProgressLine& line) {
    return [&line](const Progress& progress) {
        line.update(progress.bytesDone, progress.bytesTotal);
        return !stopRequested();
    };
}

}  // namespace tessark::cli
