// SPDX-License-Identifier: MIT
// frmAbout: the product's name, maker, version and contact, and how split
// files are joined again. Opened afresh each time while the main window hides;
// every way of closing it brings the main window back.
#pragma once

#include <QDialog>

namespace tessark {

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    // `mainWindow` owns the About window (so it has no taskbar entry of its
    // own) and is shown again when it closes.
    explicit frmAbout(QWidget* mainWindow);

    void cmdOK_Click();
    void Form_Unload();

    // Esc and Enter both end up at the OK button.
    void reject() override;
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* mainWindow_;
};

}  // namespace tessark
