// SPDX-License-Identifier: MIT
// A frame: a captioned etched border that holds controls. Unlike the system's
// group box it is a real container: its children's notifications reach the
// window, and the dialog manager tabs into it.
#pragma once

#include "win32/win32_api.h"

namespace tessark::win32 {

// Registers the frame's window class (once per process) and returns its name.
const wchar_t* frameClass();

}  // namespace tessark::win32
