// SPDX-License-Identifier: MIT
#include "win32/fonts.h"

#include <cmath>

namespace tessark::win32 {

int screenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return USER_DEFAULT_SCREEN_DPI;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

HFONT songFont(double points, int dpi) {
    // A negative height asks for the character height, as point sizes mean.
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

}  // namespace tessark::win32
