// SPDX-License-Identifier: MIT
#include "win32/window_fonts.h"

#include "win32/win32_text.h"

namespace tessark::win32 {

FontSet::~FontSet() {
    for (auto& entry : fonts_) {
        DeleteObject(entry.second);
    }
}

HFONT FontSet::get(const design::Font& wanted, int dpi) {
    for (auto& [described, made] : fonts_) {
        if (described == wanted) {
            return made;
        }
    }
    // A font's size is a height in twips too; negative: the characters' height.
    const int height = -design::toPixels(wanted.size, dpi);
    HFONT made = CreateFontW(height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             wanted.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, wide(Text(wanted.face)));
    if (made != nullptr) {
        fonts_.emplace_back(wanted, made);
    }
    return made;
}

}  // namespace tessark::win32
