// SPDX-License-Identifier: MIT
// The engine's control interfaces over real Win32 controls: each adapter
// holds the handle of a control the window created and owns.
#pragma once

#include "win32/win32_api.h"

#include <array>
#include <functional>
#include <vector>

#include "forms/controls.h"

namespace tessark::win32 {

class TaskbarProgress;

class Win32TextBox final : public TextBox {  // EDIT
  public:
    explicit Win32TextBox(HWND edit) : edit_(edit) {}
    Text text() const override;
    void setText(const Text& text) override;
    void selectAll() override;
    void caretToEnd() override;
    void setFocus() override;

  private:
    HWND edit_;
};

class Win32Label final : public Label {  // STATIC
  public:
    // An auto-sizing label takes the width and height of its caption.
    Win32Label(HWND label, bool autoSize) : label_(label), autoSize_(autoSize) {}
    void setCaption(const Text& caption) override;

  private:
    HWND label_;
    bool autoSize_;
};

class Win32OptionButton final : public OptionButton {  // BS_AUTORADIOBUTTON
  public:
    explicit Win32OptionButton(HWND button) : button_(button) {}
    bool selected() const override;

  private:
    HWND button_;
};

class Win32ListBox final : public ListBox {  // LISTBOX, unsorted, single selection
  public:
    // `onClick` is the list's click handler, run after a selection made by
    // the program. The tooltip belongs to `tooltips`, a TOOLTIPS_CLASS window.
    Win32ListBox(HWND list, HWND tooltips, std::function<void()> onClick);
    std::int64_t count() const override;
    Text item(std::int64_t index) const override;
    void setItem(std::int64_t index, const Text& text) override;
    void addItem(const Text& text) override;
    // Many entries at once, drawn once at the end.
    void addItems(const std::vector<Text>& texts) override;
    void removeItem(std::int64_t index) override;
    void clear() override;
    std::int64_t selectedIndex() const override;
    void setSelectedIndex(std::int64_t index) override;
    void setToolTip(const Text& text) override;
    const Text& toolTip() const { return toolTip_; }

  private:
    HWND list_;
    HWND tooltips_;
    std::function<void()> onClick_;
    Text toolTip_;
};

// PROGRESS_CLASS; when given a taskbar, the window's taskbar button shows the
// same progress.
class Win32ProgressBar final : public ProgressBar {
  public:
    explicit Win32ProgressBar(HWND bar, TaskbarProgress* taskbar = nullptr)
        : bar_(bar), taskbar_(taskbar) {}
    void setMaximum(double maximum) override;
    void setValue(double value) override;
    void setVisible(bool visible) override;

  private:
    HWND bar_;
    TaskbarProgress* taskbar_;
};

// STATUSCLASSNAME with five parts; panel 4 shows today's date by itself.
class Win32StatusBar final : public StatusBar {
  public:
    static constexpr int kPanels = 5;
    static constexpr int kDatePanel = 4;

    // `widths` are the panels' widths in pixels, left to right.
    Win32StatusBar(HWND bar, const std::array<int, kPanels>& widths);
    ~Win32StatusBar() override;
    Win32StatusBar(const Win32StatusBar&) = delete;
    Win32StatusBar& operator=(const Win32StatusBar&) = delete;
    void setPanelText(int panel, const Text& text) override;
    Text panelText(int panel) const;
    // Writes today's date, in the user's short date format, into panel 4.
    void showDate();
    HWND handle() const { return bar_; }

    // Gives the bar the largest font, at most the one the window gave it for
    // `dpi`, at which every panel's text, the date in any month and the clock
    // at any hour fit inside their panels. Again whenever a text is set that
    // does not fit.
    void fitFont(int dpi);
    // The room for text inside a panel, in pixels.
    int room(int panel) const;

  private:
    // Whether `text` fits `panel` in the font the bar shows now.
    bool fits(int panel, const Text& text) const;

    HWND bar_;
    HFONT fitted_ = nullptr;  // the bar's font when it is this one's own
    LOGFONTW designed_{};     // the font the window gave the bar
    int dpi_ = 0;             // 0: not fitted yet
};

class Win32MousePointer final : public MousePointer {
  public:
    void setPointer(int code) override;
    // The pointer the window shows while the code is not the default one, or
    // nothing: the window's own (answer WM_SETCURSOR with it).
    HCURSOR shown() const { return shown_; }

  private:
    HCURSOR shown_ = nullptr;
};

// Paints pending windows and runs their timers, and drops the user's keys
// and mouse clicks: the user cannot act mid-copy, nor later with input made
// meanwhile. Only the requests to stop are heard: Esc, and the main window's
// close box, Alt+F4, a WM_CLOSE posted to it and a click on its exit button,
// which ask to stop and end. Timer messages of the main window (the clock)
// are dropped too, so the clock stands still during a split or merge.
class Win32StopListener final : public StopListener {
  public:
    explicit Win32StopListener(HWND window = nullptr, HWND exitButton = nullptr)
        : window_(window), exit_(exitButton) {}
    void listen() override;
    void ask(StopRequest request) override;
    StopRequest takeStopRequest() override;

  private:
    HWND window_;
    HWND exit_;
    StopRequest request_ = StopRequest::None;
};

// Real message boxes. With a taskbar, an error box (the stop icon) shown
// over a running job turns the taskbar button's progress red while it is up.
class Win32MessageBox final : public MessageBox {
  public:
    explicit Win32MessageBox(HWND owner, TaskbarProgress* taskbar = nullptr)
        : owner_(owner), taskbar_(taskbar) {}
    void setOwner(HWND owner) { owner_ = owner; }

  protected:
    int showBox(const Text& prompt, int style, const Text& title) override;

  private:
    HWND owner_;
    TaskbarProgress* taskbar_;
};

class Win32CommonDialog final : public CommonDialog {
  public:
    explicit Win32CommonDialog(HWND owner) : owner_(owner) {}
    void showOpen() override;

  private:
    HWND owner_;
};

}  // namespace tessark::win32
