// SPDX-License-Identifier: MIT
// Conversions between the engine's text and Qt's strings, and the window's
// measures: positions and sizes are designed in twips, 15 to a pixel at 96 dpi.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "design/window_design.h"
#include "engine/core/text.h"

namespace tessark {

inline QString qs(const Text& text) {
    return QString::fromStdU16String(text);
}
inline Text tx(const QString& text) {
    return text.toStdU16String();
}

inline constexpr int twips(int value) {
    return design::toPixels(value);
}

inline QRect twipRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

// Pixel sizes of the point sizes the window is drawn with: 9, 9.75, 11.25 and
// 12.75 pt at 96 dpi.
namespace fontpx {
inline constexpr int Pt9 = 12;
inline constexpr int Pt9_75 = 13;
inline constexpr int Pt11_25 = 15;
inline constexpr int Pt12_75 = 17;
}  // namespace fontpx

// SimSun where it is installed, otherwise a CJK face that is.
QFont songFont(int pixelSize, bool bold = false, bool underline = false);

}  // namespace tessark
