// SPDX-License-Identifier: MIT
#include "win32/taskbar.h"

#include <objbase.h>
#include <shobjidl.h>

#include <algorithm>
#include <cmath>

namespace tessark::win32 {

TaskbarProgress::~TaskbarProgress() {
    if (list_ != nullptr) {
        list_->Release();
    }
    if (comStarted_) {
        CoUninitialize();
    }
}

ITaskbarList3* TaskbarProgress::list() {
    if (!asked_) {
        asked_ = true;
        const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        comStarted_ = SUCCEEDED(started);  // S_FALSE too: each start needs its end
        void* found = nullptr;
        if (CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                             &found) == S_OK) {
            list_ = static_cast<ITaskbarList3*>(found);
            if (list_->HrInit() != S_OK) {
                list_->Release();
                list_ = nullptr;
            }
        }
    }
    return list_;
}

void TaskbarProgress::setMaximum(double maximum) {
    maximum_ = maximum;
    update();
}

void TaskbarProgress::setValue(double value) {
    value_ = value;
    update();
}

void TaskbarProgress::setVisible(bool visible) {
    visible_ = visible;
    if (!visible) {
        error_ = false;
    }
    update();
}

void TaskbarProgress::setError(bool error) {
    error_ = error && visible_;
    update();
}

void TaskbarProgress::update() {
    if (!visible_ && !asked_) {
        return;  // no job has shown yet: nothing to clear
    }
    ITaskbarList3* button = list();
    if (button == nullptr) {
        return;
    }
    if (!visible_) {
        button->SetProgressState(window_, TBPF_NOPROGRESS);
        return;
    }
    // A bar at 0 of 0 (a single piece) is shown as empty.
    const double total = std::max(maximum_, 1.0);
    const auto at = static_cast<ULONGLONG>(std::clamp(value_, 0.0, total) * 1000);
    button->SetProgressValue(window_, at, static_cast<ULONGLONG>(total * 1000));
    button->SetProgressState(window_, error_ ? TBPF_ERROR : TBPF_NORMAL);
}

}  // namespace tessark::win32
