// SPDX-License-Identifier: MIT
// Key handling shared by the window's controls.
#pragma once

#include <functional>

#include "forms/form2_window.h"

class QWidget;

namespace tessark {

// Calls `handler` with the character code of every key press on `control`
// that produces a character, before the control sees the key. The key then
// reaches the control unchanged.
void onKeyPress(QWidget* control, std::function<void(int keyAscii)> handler);

}  // namespace tessark
