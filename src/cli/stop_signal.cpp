// SPDX-License-Identifier: MIT
#include "cli/stop_signal.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace tessark::cli {
namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

#ifdef _WIN32
BOOL WINAPI onConsoleControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        requested.store(true);
        return TRUE;
    }
    return FALSE;
}
#else
void onInterrupt(int) {
    requested.store(true);
}
#endif

}  // namespace

void catchStopRequests() {
#ifdef _WIN32
    if (!SetConsoleCtrlHandler(onConsoleControl, TRUE)) {
        throw std::runtime_error("cannot catch Ctrl+C: error " + std::to_string(GetLastError()));
    }
#else
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Calls interrupted by the signal carry on; the flag is seen between
    // them. None of them waits for long: a pipe or a device, whose opening
    // or reading could wait for ever, is refused as a piece or an output
    // before it is read. The handler is reset by the first signal, so a
    // second Ctrl+C ends the process.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    if (sigaction(SIGINT, &action, nullptr) != 0) {
        throw std::runtime_error(std::string("cannot catch Ctrl+C: ") + std::strerror(errno));
    }
#endif
}

bool stopRequested() noexcept {
    return requested.load();
}

}  // namespace tessark::cli
