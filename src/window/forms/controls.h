// SPDX-License-Identifier: MIT
// The window as its handlers see it: narrow interfaces modelled on the controls
// that the split, the merge and the list operations touch. The Qt window
// implements them over real widgets; tests implement them with recording fakes.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/progress.h"
#include "engine/core/text.h"
#include "forms/box_style.h"

namespace tessark {

inline constexpr char16_t kAppTitle[] = u"文件分割机";

class TextBox {
  public:
    virtual ~TextBox() = default;
    virtual Text text() const = 0;
    virtual void setText(const Text& text) = 0;
    virtual void selectAll() = 0;   // selection start 0, length = whole text
    virtual void caretToEnd() = 0;  // caret after the last character, nothing selected
    virtual void setFocus() = 0;
};

class Label {
  public:
    virtual ~Label() = default;
    virtual void setCaption(const Text& caption) = 0;
};

class OptionButton {
  public:
    virtual ~OptionButton() = default;
    virtual bool selected() const = 0;
};

// A single-selection list of strings; indexes run from 0, -1 means no selection.
class ListBox {
  public:
    virtual ~ListBox() = default;
    virtual std::int64_t count() const = 0;
    virtual Text item(std::int64_t index) const = 0;
    virtual void setItem(std::int64_t index, const Text& text) = 0;
    virtual void addItem(const Text& text) = 0;
    // Appends all of `texts` in order as one change, however many there are.
    virtual void addItems(const std::vector<Text>& texts) = 0;
    virtual void removeItem(std::int64_t index) = 0;
    virtual void clear() = 0;
    virtual std::int64_t selectedIndex() const = 0;
    // Selecting from the program counts as a click: the window runs the
    // list's click handler after it.
    virtual void setSelectedIndex(std::int64_t index) = 0;
    virtual void setToolTip(const Text& text) = 0;
};

class ProgressBar {
  public:
    virtual ~ProgressBar() = default;
    virtual void setMaximum(double maximum) = 0;
    virtual void setValue(double value) = 0;
    virtual void setVisible(bool visible) = 0;
};

namespace pointer {
inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
}  // namespace pointer

class MousePointer {
  public:
    virtual ~MousePointer() = default;
    virtual void setPointer(int code) = 0;
};

// Panels are numbered from 1.
class StatusBar {
  public:
    virtual ~StatusBar() = default;
    virtual void setPanelText(int panel, const Text& text) = 0;
};

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // Shows a modal box and returns the button pressed (mb::Ok, mb::Yes, mb::No).
    // A box without a title of its own shows the application title.
    int show(const Text& prompt, int style, const Text& title = {}) {
        return showBox(prompt, style, title.empty() ? Text(kAppTitle) : title);
    }

  protected:
    virtual int showBox(const Text& prompt, int style, const Text& title) = 0;
};

namespace cdl {
inline constexpr int HideReadOnly = 4;
inline constexpr int FileMustExist = 4096;
}  // namespace cdl

// The window's one open-file dialog. Its properties are shared state: what one
// user sets stays set for the next.
class CommonDialog {
  public:
    virtual ~CommonDialog() = default;
    Text dialogTitle = u"请打开一个要分割的文件";
    Text filter =
        u"执行文件[*.exe]|*.exe|压缩文件[*.zip;*.arj;*.rar]|*.zip;*.rar;*.arj|"
        u"图片文件[*.bmp,*.jpg,*.gif]|*.bmp;*.jpg;*.gif|所有文件[*.*]|*.*";
    Text initDir = u"c:\\my documents";
    Text fileName;
    int flags = 0;
    // Shows the dialog modally with the properties above; afterwards fileName
    // holds the chosen file's full path, or is empty when the user cancelled.
    virtual void showOpen() = 0;
};

// What the user asked of a running split or merge.
enum class StopRequest {
    None,
    Stop,       // Esc
    StopAndEnd  // the close box or Exit: stop, then end the program
};

// The window while a split or a merge runs: it keeps painting, and all user
// input is dropped, save the requests to stop the job, which are kept until
// taken. Only the job's stop check (forms/job.h) takes them.
class StopListener {
  public:
    virtual ~StopListener() = default;
    // Paints and runs timers, noting the requests to stop among the input it
    // drops; called now and then during a long run.
    virtual void listen() = 0;
    // Notes a request that reached the window another way (a close sent to
    // it while a question of the job's is up).
    virtual void ask(StopRequest request) = 0;
    // The request to stop made since the last call, if any; when both kinds
    // came, the one that ends the program.
    virtual StopRequest takeStopRequest() = 0;
};

// The controls of the main window that the split, the merge and the list
// operations read and write.
struct MainControls {
    TextBox& Text1;  // source
    TextBox& Text2;  // split target
    TextBox& Text3;  // custom block size in KB
    TextBox& Text4;  // merge output
    OptionButton& Option1;
    Label& Label2;  // size caption
    ListBox& List1;
    ProgressBar& ProgressBar1;
    StatusBar& StatusBar1;
    MousePointer& mousePointer;
    MessageBox& messages;
    CommonDialog& CommonDialog1;
    StopListener& stop;
};

}  // namespace tessark
