// SPDX-License-Identifier: MIT
// Key handling shared by the window's controls.
#pragma once

#include <functional>

#include "design/window_behaviour.h"

class QWidget;

namespace tessark {

inline constexpr int kEnterKey = design::kEnterKey;

// Calls `handler` with the character code of every key press on `control`
// that produces a character, before the control sees the key. The key then
// reaches the control unchanged.
void onKeyPress(QWidget* control, std::function<void(int keyAscii)> handler);

}  // namespace tessark
