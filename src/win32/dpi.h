// SPDX-License-Identifier: MIT
// The screens' resolutions, which the windows scale their twips to.
#pragma once

#include "win32/win32_api.h"

namespace tessark::win32 {

// The screen's dots per inch at the system's scale (the program declares
// itself DPI-aware, so this is the real figure, not 96).
int screenDpi();

// The dots per inch of the screen `window` is on, where the system tells
// each screen's own (Windows 10 from 1607 on); screenDpi() elsewhere.
int windowDpi(HWND window);

// Grows `client` into the outer rectangle of a window of that style at `dpi`:
// its frame and caption as the system draws them at that scale.
bool outerRect(RECT& client, DWORD style, DWORD exStyle, int dpi);

}  // namespace tessark::win32
