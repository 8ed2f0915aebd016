// SPDX-License-Identifier: MIT
#include "gui/qt_message_box.h"

#include "qtshared/qt_text.h"

namespace tessark {

BoxLook boxLook(int style) {
    BoxLook look{QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok};
    switch (style & 0x70) {
        case mb::Critical:
            look.icon = QMessageBox::Critical;
            break;
        case mb::Question:
            look.icon = QMessageBox::Question;
            break;
        case mb::Exclamation:
            look.icon = QMessageBox::Warning;
            break;
        case mb::Information:
            look.icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    if ((style & 0xF) == mb::YesNo) {
        look.buttons = QMessageBox::Yes | QMessageBox::No;
        look.defaultButton = (style & mb::DefaultButton2) != 0 ? QMessageBox::No : QMessageBox::Yes;
    }
    return look;
}

QString boxText(const Text& prompt) {
    QString text = qs(prompt);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int QtMessageBox::showBox(const Text& prompt, int style, const Text& title) {
    const BoxLook look = boxLook(style);
    QMessageBox box(look.icon, qs(title), boxText(prompt), look.buttons, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(look.defaultButton);
    const int pressed = box.exec();
    if (look.buttons == QMessageBox::Ok) {
        return mb::Ok;
    }
    return pressed == QMessageBox::Yes ? mb::Yes : mb::No;
}

}  // namespace tessark
