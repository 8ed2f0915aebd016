// SPDX-License-Identifier: MIT
#include "gui/key_hooks.h"

#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace tessark {

namespace {

class KeyPressFilter : public QObject {
  public:
    KeyPressFilter(QWidget* control, std::function<void(int)> handler)
        : QObject(control), handler_(std::move(handler)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty()) {
                // The handler may open boxes that run their own event loops;
                // the control must still be there when the key goes on.
                const QPointer<QObject> alive(watched);
                handler_(text.at(0).unicode());
                if (!alive) {
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void(int)> handler_;
};

}  // namespace

void onKeyPress(QWidget* control, std::function<void(int keyAscii)> handler) {
    new KeyPressFilter(control, std::move(handler));
}

}  // namespace tessark
