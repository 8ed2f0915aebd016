// SPDX-License-Identifier: MIT
// Shows a refusal's box and puts the user back on the box it points at.
#pragma once

#include "engine/core/refusal.h"
#include "engine/core/text.h"

namespace tessark {

struct MainControls;

void showRefusal(MainControls& window, const Text& message, int style, InputField field,
                 Selection selection);

}  // namespace tessark
