// SPDX-License-Identifier: MIT
// What the main window shows while a split or a merge runs, and how the user
// stops one.
#pragma once

#include "engine/core/progress.h"
#include "engine/core/text.h"

namespace tessark {

struct MainControls;

// What the window does once a split's or a merge's handler has returned.
enum class AfterJob { Stay, EndProgram };

// The busy display: the hourglass, and the progress bar shown at 0 of
// `maximum`.
void showBusy(MainControls& window, double maximum);

// The progress bar at 0 and hidden.
void hideProgress(MainControls& window);

// The display between jobs: the default pointer, the progress bar at 0 and
// hidden.
void resetDisplay(MainControls& window);

// The one reader of the user's requests to stop a running split or merge
// (what the window's StopListener heard). Consulted at every progress report
// of a run: lets the window listen a few times a second and, when it heard a
// request to stop, asks the user whether to stop. The run waits while the
// question is up.
class StopCheck {
  public:
    // `question` is asked with style 292 and the application title.
    StopCheck(MainControls& window, Text question);
    // False once the user has answered Yes.
    bool goOn();
    // After a stop: whether the request came through the close box or Exit.
    AfterJob after() const { return after_; }

  private:
    MainControls& window_;
    Text question_;
    Throttle throttle_;
    AfterJob after_ = AfterJob::Stay;
};

// What the window does once a job's handler returned `after`: a request made
// after the job's last chance to stop is taken too, so that a close still
// ends the program and an Esc is spent rather than kept for the next job.
AfterJob afterJob(MainControls& window, AfterJob after);

}  // namespace tessark
