// SPDX-License-Identifier: MIT
#include "forms/refusal_box.h"

#include "forms/controls.h"

namespace tessark {

namespace {

TextBox* boxOf(MainControls& window, InputField field) {
    switch (field) {
        case InputField::Source:
            return &window.Text1;
        case InputField::Target:
            return &window.Text2;
        case InputField::BlockSize:
            return &window.Text3;
        case InputField::Output:
            return &window.Text4;
        case InputField::None:
            break;
    }
    return nullptr;
}

}  // namespace

void showRefusal(MainControls& window, const Text& message, int style, InputField field,
                 Selection selection) {
    window.messages.show(message, style);
    TextBox* box = boxOf(window, field);
    if (!box) {
        return;
    }
    if (selection == Selection::All) {
        box->selectAll();
    } else if (selection == Selection::CaretToEnd) {
        box->caretToEnd();
    }
    box->setFocus();
}

}  // namespace tessark
