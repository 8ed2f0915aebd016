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

StopWatch::StopWatch(MainControls& window, Text question)
    : window_(window), question_(std::move(question)) {}

bool StopWatch::goOn() {
    // A run over many small pieces reports once per piece: the throttle lets
    // the window repaint even when no single copy lasts long enough to.
    if (throttle_.due()) {
        window_.repaint.repaint();
    }
    const StopRequest request = window_.repaint.takeStopRequest();
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

}  // namespace tessark
