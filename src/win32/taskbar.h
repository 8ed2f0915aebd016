// SPDX-License-Identifier: MIT
// The main window's progress on its taskbar button while a split or a merge
// runs. Where the system offers no such button (older systems, wine), every
// call does nothing.
#pragma once

#include "win32/win32_api.h"

struct ITaskbarList3;

namespace tessark::win32 {

class TaskbarProgress {
  public:
    explicit TaskbarProgress(HWND window) : window_(window) {}
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    void setMaximum(double maximum);
    void setValue(double value);
    // Shown: the bar in the normal state; hidden: no progress on the button.
    void setVisible(bool visible);
    // Red while an error is reported over a running job; back to normal after.
    void setError(bool error);

  private:
    // The button's interface, asked for once, when a job first shows.
    ITaskbarList3* list();
    void update();

    HWND window_;
    ITaskbarList3* list_ = nullptr;
    bool asked_ = false;
    bool comStarted_ = false;
    bool visible_ = false;
    bool error_ = false;
    double maximum_ = 100;
    double value_ = 0;
};

}  // namespace tessark::win32
