// SPDX-License-Identifier: MIT
// Keyboard handling of the Win32 windows: the dialog manager moves the focus
// with Tab and the arrows, and controls that handle Enter themselves see it
// before the dialog manager turns it into a button press.
#pragma once

#include "win32/win32_api.h"

#include <functional>

namespace tessark::win32 {

// Calls `handler` with the character code of every character typed into
// `control`, before the control sees it; Enter (13) is then swallowed, every
// other key reaches the control unchanged. The control asks the dialog
// manager for all keys, so Enter stays with it.
void onKeyPress(HWND control, std::function<void(int keyAscii)> handler);

// Runs the thread's message loop until WM_QUIT, giving every key to the dialog
// manager of the top-level window it is meant for first; returns the exit code.
int runMessageLoop();

// Handles one message as the loop above does; false when it was WM_QUIT.
bool dispatchOne(const MSG& message);

}  // namespace tessark::win32
