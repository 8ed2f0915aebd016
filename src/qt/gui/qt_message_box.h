// SPDX-License-Identifier: MIT
// Message boxes as real modal Qt boxes over the main window.
#pragma once

#include <QMessageBox>
#include <QPointer>

#include "forms/controls.h"

namespace tessark {

struct BoxLook {
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// The icon, buttons and default button of a message-box style.
BoxLook boxLook(int style);

// Line breaks in prompts are single CRs.
QString boxText(const Text& prompt);

class QtMessageBox : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}

  protected:
    int showBox(const Text& prompt, int style, const Text& title) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace tessark
