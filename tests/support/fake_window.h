// SPDX-License-Identifier: MIT
// In-memory stand-ins for the main window's controls. They record what the
// engine shows and answer questions from a script, so no test ever blocks.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "forms/controls.h"

namespace tessark::test {

// One log shared by all fakes of a window, so tests can check the order of
// effects across controls ("Text2.selectAll", "Text2.focus", ...).
using EventLog = std::vector<std::string>;

// The entries of `log` that begin with `prefix` ("Text4."), in order.
inline std::vector<std::string> eventsStartingWith(const EventLog& log, const std::string& prefix) {
    std::vector<std::string> events;
    for (const auto& e : log) {
        if (e.starts_with(prefix)) {
            events.push_back(e);
        }
    }
    return events;
}

class FakeTextBox : public TextBox {
  public:
    FakeTextBox(std::string name, EventLog& log) : name_(std::move(name)), log_(log) {}
    Text text() const override { return value; }
    void setText(const Text& text) override {
        value = text;
        log_.push_back(name_ + ".setText");
    }
    void selectAll() override {
        selectionStart = 0;
        selectionLength = static_cast<int>(value.size());
        log_.push_back(name_ + ".selectAll");
    }
    void caretToEnd() override {
        selectionStart = static_cast<int>(value.size());
        selectionLength = 0;
        log_.push_back(name_ + ".caretToEnd");
    }
    void setFocus() override {
        ++focusCount;
        log_.push_back(name_ + ".focus");
    }

    Text value;
    int selectionStart = -1;
    int selectionLength = -1;
    int focusCount = 0;

  private:
    std::string name_;
    EventLog& log_;
};

class FakeLabel : public Label {
  public:
    void setCaption(const Text& text) override { caption = text; }
    Text caption;
};

class FakeOption : public OptionButton {
  public:
    bool selected() const override { return isSelected; }
    bool isSelected = true;
};

class FakeListBox : public ListBox {
  public:
    explicit FakeListBox(EventLog& log) : log_(log) {}
    std::int64_t count() const override { return static_cast<std::int64_t>(items.size()); }
    Text item(std::int64_t index) const override {
        return items.at(static_cast<std::size_t>(index));
    }
    void setItem(std::int64_t index, const Text& text) override {
        items.at(static_cast<std::size_t>(index)) = text;
    }
    void addItem(const Text& text) override {
        items.push_back(text);
        ++addItemCalls;
    }
    void addItems(const std::vector<Text>& texts) override {
        items.insert(items.end(), texts.begin(), texts.end());
        ++addItemsCalls;
    }
    void removeItem(std::int64_t index) override {
        items.erase(items.begin() + index);
        if (selected == index) {
            selected = -1;
        } else if (selected > index) {
            --selected;
        }
    }
    void clear() override {
        items.clear();
        selected = -1;
        log_.push_back("List1.clear");
    }
    std::int64_t selectedIndex() const override { return selected; }
    void setSelectedIndex(std::int64_t index) override {
        selected = index;
        if (onClick) {
            onClick();  // selecting from the program counts as a click
        }
    }
    void setToolTip(const Text& text) override { toolTip = text; }

    std::vector<Text> items;
    std::int64_t selected = -1;
    Text toolTip;
    std::function<void()> onClick;
    int addItemCalls = 0;   // one entry at a time
    int addItemsCalls = 0;  // batches

  private:
    EventLog& log_;
};

class FakeProgressBar : public ProgressBar {
  public:
    explicit FakeProgressBar(EventLog& log) : log_(log) {}
    void setMaximum(double max) override {
        maximum = max;
        log_.push_back("ProgressBar1.max=" + std::to_string(static_cast<long long>(max)));
    }
    void setValue(double v) override {
        value = v;
        values.push_back(v);
        log_.push_back("ProgressBar1.value=" + std::to_string(static_cast<long long>(v)));
    }
    void setVisible(bool v) override {
        visible = v;
        log_.push_back(v ? "ProgressBar1.show" : "ProgressBar1.hide");
    }
    double maximum = 100;
    double value = 0;
    bool visible = false;
    std::vector<double> values;

  private:
    EventLog& log_;
};

class FakePointer : public MousePointer {
  public:
    explicit FakePointer(EventLog& log) : log_(log) {}
    void setPointer(int code) override {
        current = code;
        log_.push_back("pointer=" + std::to_string(code));
    }
    int current = pointer::Default;

  private:
    EventLog& log_;
};

class FakeStatusBar : public StatusBar {
  public:
    void setPanelText(int panel, const Text& text) override {
        panels.at(static_cast<std::size_t>(panel - 1)) = text;
    }
    std::vector<Text> panels = {u"欢迎使用Quorin文件分割机", u"", u"", u"", u""};
};

struct ShownBox {
    Text prompt;
    int style;
    Text title;
};

class FakeMessageBox : public MessageBox {
  public:
    explicit FakeMessageBox(EventLog& log) : log_(log) {}
    std::vector<ShownBox> shown;
    // Answers for boxes with Yes and No, in order; Yes when the script runs out.
    std::deque<int> answers;
    // Runs while a box is up, e.g. to look at the progress bar at that moment.
    std::function<void(const ShownBox&)> whileShown;

  protected:
    int showBox(const Text& prompt, int style, const Text& title) override {
        shown.push_back({prompt, style, title});
        log_.push_back("msgbox style=" + std::to_string(style));
        if (whileShown) {
            whileShown(shown.back());
        }
        if ((style & 0xF) != mb::YesNo) {
            return mb::Ok;
        }
        if (answers.empty()) {
            return mb::Yes;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

  private:
    EventLog& log_;
};

struct DialogOpening {
    Text dialogTitle, filter, initDir, fileName;
    int flags;
};

class FakeCommonDialog : public CommonDialog {
  public:
    // Files the "user" picks, in order; an empty text cancels. Cancel when the
    // script runs out.
    std::deque<Text> picks;
    std::vector<DialogOpening> openings;
    void showOpen() override {
        openings.push_back({dialogTitle, filter, initDir, fileName, flags});
        fileName = picks.empty() ? Text() : picks.front();
        if (!picks.empty()) {
            picks.pop_front();
        }
    }
};

// Counts listens; the user asks for `request` at the take numbered `stopAt`
// (from 0), and for nothing at any other. A request noted by `ask` is the
// next take's.
class FakeStopListener : public StopListener {
  public:
    void listen() override { ++calls; }
    void ask(StopRequest asked) override {
        stopAt = takes;
        request = asked;
    }
    StopRequest takeStopRequest() override {
        return takes++ == stopAt ? request : StopRequest::None;
    }
    int calls = 0;
    int takes = 0;
    int stopAt = -1;
    StopRequest request = StopRequest::Stop;
};

struct FakeWindow {
    EventLog log;
    FakeTextBox Text1{"Text1", log}, Text2{"Text2", log}, Text3{"Text3", log}, Text4{"Text4", log};
    FakeOption Option1;
    FakeLabel Label2;
    FakeListBox List1{log};
    FakeProgressBar ProgressBar1{log};
    FakeStatusBar StatusBar1;
    FakePointer pointer{log};
    FakeMessageBox messages{log};
    FakeCommonDialog CommonDialog1;
    FakeStopListener stop;

    MainControls controls() {
        return {Text1,        Text2,      Text3,   Text4,    Option1,       Label2, List1,
                ProgressBar1, StatusBar1, pointer, messages, CommonDialog1, stop};
    }
};

}  // namespace tessark::test
