// SPDX-License-Identifier: MIT
// A built window's tooltips: one TOOLTIPS_CLASS window shows every control's
// described tip, and the list box's changing one.
#pragma once

#include "win32/win32_api.h"

#include "design/window_design.h"

namespace tessark::win32 {

class ToolTips {
  public:
    ToolTips() = default;
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;
    ~ToolTips();

    // Makes the tooltip window, owned by `owner`; without it no tip shows.
    void create(HWND owner);
    // Shows `described`'s tooltip over `made`, when it has one.
    void add(HWND made, const design::Control& described);
    HWND handle() const { return window_; }

  private:
    HWND window_ = nullptr;
};

}  // namespace tessark::win32
