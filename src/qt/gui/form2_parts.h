// SPDX-License-Identifier: MIT
// What Form2 holds besides its widgets: the adapters the controller works on.
#pragma once

#include "gui/form2.h"
#include "gui/qt_controls.h"
#include "gui/qt_stop_listener.h"

namespace tessark {

struct Form2::Parts {
    QtTextBox text1, text2, text3, text4;
    QtOptionButton option1;
    QtLabel label2;
    QtListBox list1;
    QtProgressBar progressBar1;
    QtMousePointer pointer;
    QtStopListener stop;
};

}  // namespace tessark
