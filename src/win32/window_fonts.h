// SPDX-License-Identifier: MIT
// The fonts a window's description names, made at one scale: each once, kept
// until the window goes or moves to another scale.
#pragma once

#include "win32/win32_api.h"

#include <utility>
#include <vector>

#include "design/window_design.h"

namespace tessark::win32 {

class FontSet {
  public:
    FontSet() = default;
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;
    ~FontSet();

    // `wanted` at `dpi`; null when the system cannot make it.
    HFONT get(const design::Font& wanted, int dpi);
    // Trades contents with `other` (the fonts of the old scale, kept until
    // nothing shows them).
    void swap(FontSet& other) noexcept { fonts_.swap(other.fonts_); }

  private:
    std::vector<std::pair<design::Font, HFONT>> fonts_;
};

}  // namespace tessark::win32
