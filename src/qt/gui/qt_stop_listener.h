// SPDX-License-Identifier: MIT
// The Qt window's StopListener: keeps the windows painted during a long copy
// without letting any user input through (a second action must not start
// while one runs). Only the requests to stop the run are heard.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "forms/controls.h"

namespace tessark {

class QtStopListener : public QObject, public StopListener {
    Q_OBJECT

  public:
    // The main window, whose close (the close box, Alt+F4, the window
    // manager) asks to stop and end, as a click on `exitButton` does.
    void watch(QWidget* window, QWidget* exitButton);

    // Processes pending paint, timer and other non-input events. Input that
    // arrives meanwhile is dropped, not kept for later; Esc, the main
    // window's close and a click on its exit button are noted as requests.
    void listen() override;
    void ask(StopRequest request) override;
    StopRequest takeStopRequest() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The request `event` makes, if any.
    StopRequest requestOf(QObject* watched, QEvent& event) const;

    QPointer<QWidget> window_;
    QPointer<QWidget> exitButton_;
    StopRequest request_ = StopRequest::None;
};

// Mouse, keyboard, wheel, touch and close requests.
bool isUserInput(const QEvent& event);

}  // namespace tessark
