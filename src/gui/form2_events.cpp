// SPDX-License-Identifier: MIT
// Form2's event table: every event the window handles, passed to its
// controller as "this control, this event".
#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QRadioButton>

#include "gui/form2.h"
#include "gui/key_hooks.h"

namespace tessark {

using design::Form2Control;

void Form2::wireEvents() {
    using enum Form2Control;
    // A focused button is pressed by Enter as well as by the space bar.
    for (const Form2Control button :
         {Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8, Command9,
          Command10, Command12, Command13}) {
        connect(built_.get<QAbstractButton>(button), &QAbstractButton::clicked, this,
                [this, button] { controller_->click(button); });
    }
    for (const Form2Control control :
         {Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8, Command9,
          Command10, Command12, Command13, Option1, Text1, Text2, Text3, Text4, List1}) {
        onKeyPress(built_.get(control),
                   [this, control](int keyAscii) { controller_->keyPress(control, keyAscii); });
    }
    for (const Form2Control option : {Option1, Option2}) {
        connect(built_.get<QRadioButton>(option), &QRadioButton::toggled, this,
                [this, option](bool on) {
                    if (on) {
                        controller_->click(option);
                    }
                });
    }

    // A mouse click is a click, and so is a selection moved from the keyboard;
    // selections made by the program call the handler themselves.
    auto* list = built_.get<QListWidget>(List1);
    connect(list, &QListWidget::itemClicked, this, [this] { controller_->List1_Click(); });
    connect(list, &QListWidget::currentRowChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton) {
            controller_->List1_Click();
        }
    });

    connect(built_.get<StatusPanels>(StatusBar1), &StatusPanels::panelClicked, this,
            [this](int panel) { controller_->StatusBar1_PanelClick(panel); });
    connect(&this->Timer1, &QTimer::timeout, this, [this] { controller_->Timer1_Timer(); });
}

}  // namespace tessark
