// SPDX-License-Identifier: MIT
// The shared open-file dialog as a real Qt file dialog.
#pragma once

#include <QPointer>
#include <QStringList>

#include "forms/controls.h"

class QWidget;

namespace tessark {

// "text|patterns|text|patterns…" as Qt name filters. The display text stays
// as written; the patterns, separated by ";", are what filters, and "*.*"
// means every file, with or without a dot.
QStringList nameFilters(const Text& filter);

// The folder the dialog opens in: the one it holds when that exists, else the
// user's documents folder.
QString startFolder(const Text& initDir);

class QtCommonDialog : public CommonDialog {
  public:
    explicit QtCommonDialog(QWidget* parent) : parent_(parent) {}
    void showOpen() override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace tessark
