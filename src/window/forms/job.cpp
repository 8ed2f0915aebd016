// SPDX-License-Identifier: MIT
#include "forms/job.h"

#include "forms/controls.h"

namespace tessark {

void showBusy(MainControls& window, double maximum) {
    window.mousePointer.setPointer(pointer::Hourglass);
    window.ProgressBar1.setMaximum(maximum);
    window.ProgressBar1.setValue(0);
    window.ProgressBar1.setVisible(true);
}

void hideProgress(MainControls& window) {
    window.ProgressBar1.setValue(0);
    window.ProgressBar1.setVisible(false);
}

void resetDisplay(MainControls& window) {
    window.mousePointer.setPointer(pointer::Default);
    hideProgress(window);
}

namespace {

// The only place a stop request is read.
StopRequest takeRequest(MainControls& window) {
    return window.stop.takeStopRequest();
}

}  // namespace

StopCheck::StopCheck(MainControls& window, Text question)
    : window_(window), question_(std::move(question)) {}

bool StopCheck::goOn() {
    // A run over many small pieces reports once per piece: the throttle lets
    // the window repaint even when no single copy lasts long enough to.
    if (throttle_.due()) {
        window_.stop.listen();
    }
    const StopRequest request = takeRequest(window_);
    switch (request) {
        case StopRequest::None:
            return true;
        case StopRequest::Stop:
        case StopRequest::StopAndEnd:
            break;
    }
    if (window_.messages.show(question_, mb::Question | mb::YesNo | mb::DefaultButton2) !=
        mb::Yes) {
        return true;
    }
    after_ = request == StopRequest::StopAndEnd ? AfterJob::EndProgram : AfterJob::Stay;
    return false;
}

AfterJob afterJob(MainControls& window, AfterJob after) {
    return takeRequest(window) == StopRequest::StopAndEnd ? AfterJob::EndProgram : after;
}

}  // namespace tessark
