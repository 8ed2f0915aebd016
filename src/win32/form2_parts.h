// SPDX-License-Identifier: MIT
// What Form2 holds besides its window: the built controls, the adapters the
// controller works on, the services it was given or made for itself and its
// controller.
#pragma once

#include <memory>

#include "forms/controls.h"
#include "forms/form2_controller.h"
#include "forms/window_services.h"
#include "win32/form2.h"
#include "win32/taskbar.h"
#include "win32/win32_controls.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

struct Form2::Parts {
    BuiltWindow built;
    std::unique_ptr<ControlIds<design::Form2Control>> ids;
    std::unique_ptr<Win32TextBox> text1, text2, text3, text4;
    std::unique_ptr<Win32OptionButton> option1;
    std::unique_ptr<Win32Label> label2;
    std::unique_ptr<Win32ListBox> list1;
    std::unique_ptr<TaskbarProgress> taskbar;
    std::unique_ptr<Win32ProgressBar> progressBar1;
    std::unique_ptr<Win32StatusBar> statusBar1;
    Win32MousePointer pointer;
    std::unique_ptr<Win32StopListener> stop;
    std::unique_ptr<ServicesInUse> services;
    std::unique_ptr<Form2Controller> controller;
};

}  // namespace tessark::win32
