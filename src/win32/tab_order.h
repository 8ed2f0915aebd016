// SPDX-License-Identifier: MIT
// A built window's keyboard order: Tab and Shift+Tab walk the controls in the
// order the description gives, not in the stacking order of the controls
// (which says what lies over what).
#pragma once

#include "win32/win32_api.h"

#include <vector>

namespace tessark::win32 {

class TabOrder {
  public:
    // Appends the next stop of the order.
    void add(HWND stop) { stops_.push_back(stop); }
    // Moves the focus to the next (or previous) control of the keyboard order
    // that is visible and enabled; an option group counts once, by its
    // selected button. True when the focus moved.
    bool tab(bool backwards);
    // Puts the focus on the first control of the keyboard order that can take it.
    void focusFirst();

  private:
    bool canFocus(HWND control) const;

    std::vector<HWND> stops_;
};

}  // namespace tessark::win32
