// SPDX-License-Identifier: MIT
// Driving the Win32 windows from a test: the message loop's own dispatch,
// keys as the keyboard would send them, places in twips.
#pragma once

#include <string>

#include "design/window_design.h"
#include "win32/win32_api.h"

namespace tessark::test {

// Handles every message waiting for this thread as the program's loop does.
void pumpMessages();

// A key press on the focused control (down, then up), through the loop.
void pressKey(WPARAM key);

// `control`'s place inside its parent's client area, in pixels.
design::Rect pixelPlace(HWND control);

// A place in twips as pixels at `dpi`, by default the screen's.
design::Rect pixelsOf(const design::Rect& twips, int dpi = 0);

// The name the window gives the focused control; empty when unknown.
std::string focusedName(HWND topLevel);

}  // namespace tessark::test
