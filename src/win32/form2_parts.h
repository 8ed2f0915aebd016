// SPDX-License-Identifier: MIT
// What Form2 holds besides its window: the built controls, the adapters over
// them, the services it was given or made for itself and its controller.
#pragma once

#include <memory>

#include "design/window_behaviour.h"
#include "forms/controls.h"
#include "forms/form2_controller.h"
#include "forms/window_services.h"
#include "win32/form2.h"
#include "win32/taskbar.h"
#include "win32/win32_controls.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

// Form2's controls, for the behaviour the front ends share.
class Win32ControlSurface final : public design::ControlSurface {
  public:
    explicit Win32ControlSurface(const BuiltWindow& built) : built_(built) {}
    bool checked(design::Form2Control option) const override {
        return SendMessageW(built_.control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setVisible(design::Form2Control control, bool visible) override {
        ShowWindow(built_.control(control), visible ? SW_SHOW : SW_HIDE);
    }
    void setEnabled(design::Form2Control control, bool enabled) override {
        EnableWindow(built_.control(control), enabled ? TRUE : FALSE);
    }
    void setFocus(design::Form2Control control) override {
        HWND shown = built_.control(control);
        if (IsWindowVisible(shown)) {
            SetFocus(shown);
        }
    }

  private:
    const BuiltWindow& built_;
};

struct Form2::Parts {
    BuiltWindow built;
    Win32ControlSurface surface{built};
    std::unique_ptr<ControlIds<design::Form2Control>> ids;
    std::unique_ptr<Win32TextBox> text1, text2, text3, text4;
    std::unique_ptr<Win32OptionButton> option1;
    std::unique_ptr<Win32Label> label2;
    std::unique_ptr<Win32ListBox> list1;
    std::unique_ptr<TaskbarProgress> taskbar;
    std::unique_ptr<Win32ProgressBar> progressBar1;
    std::unique_ptr<Win32StatusBar> statusBar1;
    Win32MousePointer pointer;
    std::unique_ptr<Win32RepaintHook> repaint;
    std::unique_ptr<ServicesInUse> services;
    std::unique_ptr<Form2Controller> controller;

    MainControls controls() {
        return {*text1,
                *text2,
                *text3,
                *text4,
                *option1,
                *label2,
                *list1,
                *progressBar1,
                *statusBar1,
                pointer,
                services->messages(),
                services->dialog(),
                *repaint};
    }
};

}  // namespace tessark::win32
