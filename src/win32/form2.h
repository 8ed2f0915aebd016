// SPDX-License-Identifier: MIT
// Form2 on Windows: the main window over real Win32 controls. Its controls are
// the shared state of the split and the merge; its handlers hand them to the
// engine.
#pragma once

#include "win32/win32_api.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "design/window_behaviour.h"
#include "engine/core/text.h"
#include "forms/job.h"
#include "win32/window_builder.h"

namespace tessark {

class CommonDialog;
class DriveSource;
class FileSystem;
class MessageBox;
struct MainControls;

namespace win32 {

class AboutWindow;
class Form1;
class Win32StatusBar;

// What the window uses beyond its own controls. Tests put stand-ins here;
// whatever stays empty gets the real thing.
struct Form2Services {
    FileSystem* fileSystem = nullptr;   // the machine's file system
    MessageBox* messages = nullptr;     // real message boxes over the window
    CommonDialog* dialog = nullptr;     // a real open-file dialog
    DriveSource* drives = nullptr;      // the machine's drives, for the folder picker
    std::function<void()> openWebSite;  // the maker's site in the default browser
    std::function<void()> endProgram;   // leaves the message loop at once
};

class Form2 final : public WindowHandler, private design::ShellSurface {
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

    // The window's event handlers, one per control and event.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    void Command13_Click();
    void List1_Click();
    void List1_KeyPress(int keyAscii);
    void Option1_Click();
    void Option2_Click();
    void Option1_KeyPress(int keyAscii);
    void Text1_KeyPress(int keyAscii);
    void Text2_KeyPress(int keyAscii);
    void Text3_KeyPress(int keyAscii);
    void Text4_KeyPress(int keyAscii);
    void StatusBar1_PanelClick(int panel);
    void Timer1_Timer();

    // Files named on the command line, absolute, each in turn as the Linux
    // window takes them (see forms/desktop_files.h).
    void openFiles(const std::vector<Text>& paths);

  private:
    struct Parts;
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Runs the handler of a control's notification; false when there is none.
    bool onCommand(int id, int code);
    void createWindow();
    void wireKeys();
    // Where Enter on `control` leads, the same in every front end.
    void keyPress(std::string_view control, int keyAscii);
    void showPicker();
    // Runs Start split or Start merge. A close that reaches the window
    // meanwhile asks to stop the job and end; one that came when the job
    // could no longer stop ends the program once it is done.
    void runJob(AfterJob (*job)(MainControls&, FileSystem&));
    // A drop from a file manager on the split or the merge area.
    void dropFiles(HDROP drop);
    // design::ShellSurface
    void hideMain() override;
    void showAbout() override;
    void openWebSite() override;

    Form2Services services_;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;  // given back when the window is active again
    bool jobRunning_ = false;
    std::unique_ptr<Parts> parts_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<Form1> picker_;
};

}  // namespace win32
}  // namespace tessark
