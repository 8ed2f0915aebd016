// SPDX-License-Identifier: MIT
// The windows' pictures, as icons in the program's resources. They are drawn
// once by the same code that draws the Linux window's pictures
// (scripts/make-windows-pictures.sh) and kept in src/win32/pictures.
#pragma once

#ifndef RC_INVOKED
#include "win32/win32_api.h"

#include "design/window_design.h"
#endif

// Resource identifiers, shared with the resource script.
#define TESSARK_ICON_PROGRAM 1
#define TESSARK_ICON_OPEN_FOLDER 101
#define TESSARK_ICON_BLANK_PAGE 102
#define TESSARK_ICON_BLACK_CROSS 103
#define TESSARK_ICON_RED_CROSS_LIST 104
#define TESSARK_ICON_ARROW_UP 105
#define TESSARK_ICON_ARROW_DOWN 106
#define TESSARK_ICON_SPLIT 107
#define TESSARK_ICON_MERGE 108

#ifndef RC_INVOKED
namespace tessark::win32 {

// The picture at `dpi` (its size in the description is at 96 DPI); null when
// the resources lack it. Owned by the caller (DestroyIcon).
HICON loadPicture(design::Picture picture, int dpi);

}  // namespace tessark::win32
#endif
