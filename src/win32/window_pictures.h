// SPDX-License-Identifier: MIT
// The pictures a built window shows (its icon, the picture buttons and
// boxes), made at one scale and destroyed with the window or its scale.
#pragma once

#include "win32/win32_api.h"

#include <vector>

#include "design/window_design.h"

namespace tessark::win32 {

class PictureSet {
  public:
    PictureSet() = default;
    PictureSet(const PictureSet&) = delete;
    PictureSet& operator=(const PictureSet&) = delete;
    ~PictureSet();

    // Gives `window` the picture `icon` (title bar and taskbar) at `dpi`.
    void setIcon(HWND window, design::Picture icon, int dpi);
    // Shows `described`'s picture on the control `made` at `dpi`.
    void setPicture(HWND made, const design::Control& described, int dpi);
    // Trades contents with `other` (the pictures of the old scale, kept until
    // nothing shows them).
    void swap(PictureSet& other) noexcept {
        images_.swap(other.images_);
        imageLists_.swap(other.imageLists_);
    }

  private:
    std::vector<HANDLE> images_;  // icons (DestroyIcon)
    std::vector<HIMAGELIST> imageLists_;
};

}  // namespace tessark::win32
