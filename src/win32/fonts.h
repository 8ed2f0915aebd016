// SPDX-License-Identifier: MIT
// The song font (宋体, SimSun) the windows draw their texts with.
#pragma once

#include "win32/win32_api.h"

namespace tessark::win32 {

// The screen's dots per inch (the program declares itself DPI-aware, so this
// is the real figure, not 96).
int screenDpi();

// The song font at `points` (9, 9.75, 11.25...) on a screen of `dpi`; owned by
// the caller (DeleteObject).
HFONT songFont(double points, int dpi);

}  // namespace tessark::win32
