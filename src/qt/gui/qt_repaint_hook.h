// SPDX-License-Identifier: MIT
// Keeps the windows painted during a long copy without letting any user input
// through: a second action must not start while one runs.
#pragma once

#include <QObject>

#include "forms/controls.h"

namespace tessark {

class QtRepaintHook : public QObject, public RepaintHook {
    Q_OBJECT

  public:
    // Processes pending paint, timer and other non-input events. Input that
    // arrives meanwhile is dropped, not kept for later.
    void repaint() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Mouse, keyboard, wheel, touch and close requests.
bool isUserInput(const QEvent& event);

}  // namespace tessark
