// SPDX-License-Identifier: MIT
// The screen's resolution, which the windows scale their twips to.
#pragma once

#include "win32/win32_api.h"

namespace tessark::win32 {

// The screen's dots per inch (the program declares itself DPI-aware, so this
// is the real figure, not 96).
int screenDpi();

}  // namespace tessark::win32
