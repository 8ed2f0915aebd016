// SPDX-License-Identifier: MIT
#include "forms/controls.h"

namespace tessark {

ThrottledRepaint::ThrottledRepaint(RepaintHook& hook) : hook_(hook) {}

void ThrottledRepaint::repaint() {
    if (throttle_.due()) {
        hook_.repaint();
    }
}

}  // namespace tessark
