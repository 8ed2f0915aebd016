// SPDX-License-Identifier: MIT
// Form2: the main window. Its controls are the shared state of the split and
// the merge; its handlers hand them to the engine.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "design/window_behaviour.h"
#include "gui/frm_about.h"
#include "gui/status_panels.h"
#include "qtshared/qt_window_builder.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace tessark {

class CommonDialog;
class DriveSource;
class FileSystem;
class Form1;
class MessageBox;
class WebBrowser;
struct MainControls;

// What the window uses beyond its own widgets. Tests put in-memory stand-ins
// here; whatever stays empty gets the real thing.
struct Form2Services {
    FileSystem* fileSystem = nullptr;   // the machine's file system
    MessageBox* messages = nullptr;     // real message boxes over the window
    CommonDialog* dialog = nullptr;     // a real open-file dialog
    DriveSource* drives = nullptr;      // the machine's drives, for the folder picker
    std::function<void()> openWebSite;  // Module1::OpenWebSite
    std::function<void()> endProgram;   // leaves the event loop at once
    Clock now;                          // the local clock
};

class Form2 : public QWidget, private design::ShellSurface {
    Q_OBJECT

  public:
    explicit Form2(Form2Services services = {});
    ~Form2() override;

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

    // The About window while it is open.
    frmAbout* about() const { return about_; }

  protected:
    void closeEvent(QCloseEvent* event) override;  // the window's unload

  private:
    struct Bridge;

    void buildControls();
    void wireEvents();
    // Where a key reaching `control` leads: the split, the merge or a press.
    void keyPress(std::string_view control, int keyAscii);

    // The shell buttons' steps, as the shared behaviour takes them.
    void hideMain() override;
    void showAbout() override;
    void openWebSite() override;
    void showPicker();
    MainControls controls();

    QGroupBox *Frame4{}, *Frame5{}, *Frame6{}, *Frame1{}, *Frame2{}, *Frame3{};
    QLabel *Label10{}, *Label2{}, *Label11{}, *Label1{}, *Label4{};
    QLineEdit *Text1{}, *Text2{}, *Text3{}, *Text4{};
    QPushButton *Command1{}, *Command2{}, *Command4{}, *Command5{}, *Command7{}, *Command8{},
        *Command9{}, *Command10{}, *Command12{}, *Command13{};
    QToolButton *Command3{}, *Command6{};
    QRadioButton *Option1{}, *Option2{};
    QProgressBar* ProgressBar1{};
    QFrame* Line1{};
    QListWidget* List1{};
    WebBrowser* WebBrowser1{};
    StatusPanels* StatusBar1{};
    QTimer Timer1;
    QtBuiltControls built_;
    QtControlSurface surface_{built_};

    Form2Services services_;
    std::unique_ptr<Bridge> bridge_;
    QPointer<frmAbout> about_;
    QPointer<Form1> picker_;
};

}  // namespace tessark
