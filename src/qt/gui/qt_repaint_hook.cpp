// SPDX-License-Identifier: MIT
#include "gui/qt_repaint_hook.h"

#include <QCoreApplication>
#include <QEvent>

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

void QtRepaintHook::repaint() {
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(this);
}

bool QtRepaintHook::eventFilter(QObject* watched, QEvent* event) {
    if (isUserInput(*event)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessark
