// SPDX-License-Identifier: MIT
// frmAbout on Windows: product information, shown while the main window is
// hidden; OK (or Enter, Esc, the close box) closes it and shows the main
// window again.
#pragma once

#include "win32/win32_api.h"

#include <optional>

#include "forms/about_controller.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

class AboutWindow final : public WindowHandler, private AboutShell {
  public:
    // `mainWindow` is shown again when this window closes.
    explicit AboutWindow(HWND mainWindow);
    ~AboutWindow() override = default;
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    void show();
    // False once the window was closed.
    bool isOpen() const { return open_; }
    HWND handle() const { return built_.window(); }
    HWND control(const char* name) const { return built_.control(name); }

    AboutController& controller() { return controller_; }

  private:
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    // AboutShell
    void showMain() override;
    void closeAbout() override;

    HWND mainWindow_;
    BuiltWindow built_;
    HBRUSH background_ = GetSysColorBrush(COLOR_BTNFACE);
    bool open_ = true;
    AboutController controller_{*this};
};

}  // namespace tessark::win32
