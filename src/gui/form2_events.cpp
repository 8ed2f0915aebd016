// SPDX-License-Identifier: MIT
// Form2's event table: every event the window handles, connected to the
// handler named after its control and event.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "design/window_behaviour.h"
#include "gui/form2.h"
#include "gui/key_hooks.h"

namespace tessark {

void Form2::keyPress(std::string_view control, int keyAscii) {
    switch (design::form2KeyAction(control, keyAscii)) {
        case design::KeyAction::StartSplit:
            Command3_Click();
            break;
        case design::KeyAction::StartMerge:
            Command6_Click();
            break;
        case design::KeyAction::Press:
            built_.get<QAbstractButton>(control)->click();
            break;
        case design::KeyAction::PassOn:
            break;
    }
}

void Form2::wireEvents() {
    const std::pair<QAbstractButton*, void (Form2::*)()> clicks[] = {
        {Command1, &Form2::Command1_Click},   {Command2, &Form2::Command2_Click},
        {Command3, &Form2::Command3_Click},   {Command4, &Form2::Command4_Click},
        {Command5, &Form2::Command5_Click},   {Command6, &Form2::Command6_Click},
        {Command7, &Form2::Command7_Click},   {Command8, &Form2::Command8_Click},
        {Command9, &Form2::Command9_Click},   {Command10, &Form2::Command10_Click},
        {Command12, &Form2::Command12_Click}, {Command13, &Form2::Command13_Click},
    };
    for (const auto& [button, handler] : clicks) {
        connect(button, &QAbstractButton::clicked, this, handler);
        // A focused button is pressed by Enter as well as by the space bar.
        onKeyPress(button, [this, name = button->objectName().toStdString()](int keyAscii) {
            keyPress(name, keyAscii);
        });
    }

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Option1_Click();
        }
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Option2_Click();
        }
    });
    onKeyPress(Option1, [this](int key) { Option1_KeyPress(key); });
    onKeyPress(Text1, [this](int key) { Text1_KeyPress(key); });
    onKeyPress(Text2, [this](int key) { Text2_KeyPress(key); });
    onKeyPress(Text3, [this](int key) { Text3_KeyPress(key); });
    onKeyPress(Text4, [this](int key) { Text4_KeyPress(key); });
    onKeyPress(List1, [this](int key) { List1_KeyPress(key); });

    // A mouse click is a click, and so is a selection moved from the keyboard;
    // selections made by the program call the handler themselves.
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::currentRowChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton) {
            List1_Click();
        }
    });

    connect(StatusBar1, &StatusPanels::panelClicked, this, &Form2::StatusBar1_PanelClick);
    connect(&Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
}

}  // namespace tessark
