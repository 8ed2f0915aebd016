// SPDX-License-Identifier: MIT
// frmAbout in Qt: the product's name, maker, version and contact, and how
// split files are joined again. Opened afresh each time while the main window
// hides; its behaviour lives in AboutController.
#pragma once

#include <QDialog>

#include "forms/about_controller.h"

namespace tessark {

class frmAbout : public QDialog, private AboutShell {
    Q_OBJECT

  public:
    // `mainWindow` owns the About window (so it has no taskbar entry of its
    // own) and is shown again when it closes.
    explicit frmAbout(QWidget* mainWindow);

    AboutController& controller() { return controller_; }

    // Esc and Enter both end up at the OK button.
    void reject() override;
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showMain() override;
    void closeAbout() override;

    QWidget* mainWindow_;
    AboutController controller_{*this};
};

}  // namespace tessark
