// SPDX-License-Identifier: MIT
// frmAbout's behaviour, written once for every toolkit: OK (Enter and Esc
// press it too) closes the window, and every way of closing it brings the
// main window back.
#pragma once

namespace tessark {

// What only the toolkit can do for the About window.
class AboutShell {
  public:
    virtual ~AboutShell() = default;
    virtual void showMain() = 0;
    // Closes the About window; the toolkit's close runs Form_Unload.
    virtual void closeAbout() = 0;
};

class AboutController {
  public:
    explicit AboutController(AboutShell& shell) : shell_(shell) {}

    void cmdOK_Click() {
        shell_.showMain();
        shell_.closeAbout();
    }
    void Form_Unload() { shell_.showMain(); }

  private:
    AboutShell& shell_;
};

}  // namespace tessark
