// SPDX-License-Identifier: MIT
// The main window's controls as plain values, for running the list's Add in
// the benchmark: nothing is recorded beyond the list's entries and the boxes
// shown, so that only the Add itself is measured.
#pragma once

#include <vector>

#include "forms/controls.h"

namespace tessark::bench {

class BenchWindow {
  public:
    MainControls controls() {
        return {text1_, text2_,  text3_,   text4_,   option1_, label2_, list,
                bar_,   status_, pointer_, messages, dialog_,  stop_};
    }

    class List : public ListBox {
      public:
        std::vector<Text> items;
        std::int64_t count() const override { return static_cast<std::int64_t>(items.size()); }
        Text item(std::int64_t index) const override { return items.at(index); }
        void setItem(std::int64_t index, const Text& text) override { items.at(index) = text; }
        void addItem(const Text& text) override { items.push_back(text); }
        void addItems(const std::vector<Text>& texts) override {
            items.insert(items.end(), texts.begin(), texts.end());
        }
        void removeItem(std::int64_t index) override { items.erase(items.begin() + index); }
        void clear() override { items.clear(); }
        std::int64_t selectedIndex() const override { return -1; }
        void setSelectedIndex(std::int64_t) override {}
        void setToolTip(const Text&) override {}
    } list;

    class Boxes : public MessageBox {
      public:
        std::vector<Text> shown;

      protected:
        int showBox(const Text& prompt, int, const Text&) override {
            shown.push_back(prompt);
            return mb::Ok;
        }
    } messages;

  private:
    class Box : public TextBox {
      public:
        Text text() const override { return value_; }
        void setText(const Text& text) override { value_ = text; }
        void selectAll() override {}
        void caretToEnd() override {}
        void setFocus() override {}

      private:
        Text value_;
    } text1_, text2_, text3_, text4_;
    class Option : public OptionButton {
      public:
        bool selected() const override { return true; }
    } option1_;
    class Caption : public Label {
      public:
        void setCaption(const Text&) override {}
    } label2_;
    class Bar : public ProgressBar {
      public:
        void setMaximum(double) override {}
        void setValue(double) override {}
        void setVisible(bool) override {}
    } bar_;
    class Status : public StatusBar {
      public:
        void setPanelText(int, const Text&) override {}
    } status_;
    class Pointer : public MousePointer {
      public:
        void setPointer(int) override {}
    } pointer_;
    class Dialog : public CommonDialog {
      public:
        void showOpen() override { fileName.clear(); }
    } dialog_;
    class Stop : public StopListener {
      public:
        void listen() override {}
        void ask(StopRequest) override {}
        StopRequest takeStopRequest() override { return StopRequest::None; }
    } stop_;
};

}  // namespace tessark::bench
