// SPDX-License-Identifier: MIT
// The controller's view of Form2: adapters over its widgets.
#pragma once

#include "gui/form2.h"
#include "gui/qt_controls.h"
#include "gui/qt_repaint_hook.h"

namespace tessark {

struct Form2::Bridge {
    QtTextBox text1, text2, text3, text4;
    QtOptionButton option1;
    QtLabel label2;
    QtListBox list1;
    QtProgressBar progressBar1;
    QtMousePointer pointer;
    QtRepaintHook repaint;
};

}  // namespace tessark
