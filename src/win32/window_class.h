// SPDX-License-Identifier: MIT
// The one window class every designed window is made of: its window
// procedure hands each message to the window's handler, after the built
// window has taken what it answers itself (a change of scale, the size
// limits).
#pragma once

#include "win32/win32_api.h"

#include <optional>

namespace tessark::win32 {

// What a built window does with its messages; whatever it leaves to the
// system goes to DefWindowProcW.
class WindowHandler {
  public:
    virtual ~WindowHandler() = default;
    // The message's result, or nothing to leave the message to the system.
    virtual std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The class's name, registered on first use; null when it cannot be. A
// window of it is created with its WindowHandler as the creation parameter.
const wchar_t* designedWindowClass();

}  // namespace tessark::win32
