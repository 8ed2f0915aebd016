// SPDX-License-Identifier: MIT
#include "gui/qt_stop_listener.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace tessark {

bool isUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
        case QEvent::Close:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

void QtStopListener::watch(QWidget* window, QWidget* exitButton) {
    window_ = window;
    exitButton_ = exitButton;
}

void QtStopListener::listen() {
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(this);
}

void QtStopListener::ask(StopRequest request) {
    request_ = std::max(request_, request);
}

StopRequest QtStopListener::takeStopRequest() {
    return std::exchange(request_, StopRequest::None);
}

bool QtStopListener::eventFilter(QObject* watched, QEvent* event) {
    if (isUserInput(*event)) {
        ask(requestOf(watched, *event));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

StopRequest QtStopListener::requestOf(QObject* watched, QEvent& event) const {
    if (window_ == nullptr) {
        return StopRequest::None;
    }
    const bool atWindow = watched == window_ || watched == window_->windowHandle();
    if (event.type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(event);
        return key.key() == Qt::Key_Escape && !key.isAutoRepeat() ? StopRequest::Stop
                                                                  : StopRequest::None;
    }
    if (event.type() == QEvent::Close) {
        return atWindow ? StopRequest::StopAndEnd : StopRequest::None;
    }
    if (event.type() == QEvent::MouseButtonRelease) {
        // Sent to the button itself, or to the window for the child under it.
        const auto& mouse = static_cast<const QMouseEvent&>(event);
        const bool onExit = exitButton_ != nullptr &&
                            (watched == exitButton_ ||
                             (watched == window_->windowHandle() &&
                              window_->childAt(mouse.position().toPoint()) == exitButton_));
        return mouse.button() == Qt::LeftButton && onExit ? StopRequest::StopAndEnd
                                                          : StopRequest::None;
    }
    return StopRequest::None;
}

}  // namespace tessark
