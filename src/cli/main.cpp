// SPDX-License-Identifier: MIT
// tessark-cli: split, merge and list piece sets from a terminal.
#include <exception>
#include <string>

#include "cli/app.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/error_text.h"
#include "cli/stop_signal.h"
#include "engine/core/progress.h"
#include "engine/platform/native_file_system.h"

int main(int argc, char** argv) {
    using namespace tessark::cli;
    try {
        useUserLocale();
        catchStopRequests();
        const auto fs = tessark::makeNativeFileSystem();
        return runApp(*fs, utf8Arguments(argc, argv));
    } catch (const tessark::ReadStopped&) {
        writeError("tessark-cli: stopped; nothing was written\n");
        return kStoppedStatus;
    } catch (const tessark::RuntimeError& e) {
        writeError("tessark-cli: " + describe(e) + "\n");
        return kFailureStatus;
    } catch (const std::exception& e) {
        writeError(std::string("tessark-cli: ") + e.what() + "\n");
        return kFailureStatus;
    }
}
