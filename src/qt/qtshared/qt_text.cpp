// SPDX-License-Identifier: MIT
#include "qtshared/qt_text.h"

#include <QStringList>

namespace tessark {

QFont songFont(int pixelSize, bool bold, bool underline) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

}  // namespace tessark
