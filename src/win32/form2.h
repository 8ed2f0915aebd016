// SPDX-License-Identifier: MIT
// Form2 on Windows: the main window's real Win32 controls, built from its
// description, and the messages that reach its controller. Its behaviour
// lives in Form2Controller.
#pragma once

#include "win32/win32_api.h"

#include <memory>
#include <optional>
#include <vector>

#include "forms/form2_controller.h"
#include "forms/window_services.h"
#include "win32/window_builder.h"

namespace tessark::win32 {

class AboutWindow;
class Form1;
class Win32StatusBar;

// What the window uses beyond its own controls.
using Form2Services = WindowServices;

class Form2 final : public WindowHandler, private Form2Window {
  public:
    explicit Form2(Form2Services services = {});
    ~Form2() override;
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    HWND handle() const { return window_; }
    // A control by its name ("Text1", "Command3", "StatusBar1"...); nothing
    // for an unknown name.
    HWND control(const char* name) const;
    Win32StatusBar& statusBar();
    // The About window while it exists.
    AboutWindow* about() const { return about_.get(); }
    // The window's handlers.
    Form2Controller& controller();

    // Files named on the command line, absolute, each in turn as the Linux
    // window takes them (see forms/desktop_files.h).
    void openFiles(const std::vector<Text>& paths);

  private:
    struct Parts;
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Passes a control's notification to the controller; false when it has
    // no handler for it.
    bool onCommand(int id, int code);
    void createWindow(Form2Services services);
    void wireKeys();
    void Form_Load();
    // A drop from a file manager on the split or the merge area.
    void dropFiles(HDROP drop);
    // Form2Window
    MainControls controls() override;
    bool checked(design::Form2Control option) const override;
    void showControl(design::Form2Control control, bool visible) override;
    void enableControl(design::Form2Control control, bool enabled) override;
    void focusControl(design::Form2Control control) override;
    void press(design::Form2Control button) override;
    void hideMain() override;
    void showAbout() override;
    void showPicker() override;
    std::optional<Text> timeOfDay() override;

    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;  // given back when the window is active again
    std::unique_ptr<Parts> parts_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<Form1> picker_;
};

}  // namespace tessark::win32
