// SPDX-License-Identifier: MIT
#include "cli/command_support.h"

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/stop_signal.h"
#include "engine/platform/native_file_system.h"

namespace tessark::cli {

Text absolutePath(const std::string& typed) {
    return absoluteNativePath(fromUtf8(typed));
}

void complain(const std::string& message) {
    writeError("tessark-cli: " + message + "\n");
}

int fail(const std::string& message) {
    complain(message);
    return kFailureStatus;
}

std::string describe(const RuntimeError& error) {
    return error.describe();
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
