// SPDX-License-Identifier: MIT
// The engine's control interfaces over real Qt widgets.
#pragma once

#include <QPointer>
#include <functional>
#include <vector>

#include "forms/controls.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QRadioButton;

namespace tessark {

class QtTextBox : public TextBox {
  public:
    explicit QtTextBox(QLineEdit* edit) : edit_(edit) {}
    Text text() const override;
    void setText(const Text& text) override;
    void selectAll() override;
    void caretToEnd() override;
    void setFocus() override;

  private:
    QLineEdit* edit_;
};

class QtLabel : public Label {
  public:
    // A label that sizes itself keeps its position and grows or shrinks to
    // fit each new caption.
    QtLabel(QLabel* label, bool sizesItself) : label_(label), sizesItself_(sizesItself) {}
    void setCaption(const Text& caption) override;

  private:
    QLabel* label_;
    bool sizesItself_;
};

class QtOptionButton : public OptionButton {
  public:
    explicit QtOptionButton(QRadioButton* button) : button_(button) {}
    bool selected() const override;

  private:
    QRadioButton* button_;
};

// Changes made by the program do not run the click handler, except a
// selection, which counts as a click.
class QtListBox : public ListBox {
  public:
    QtListBox(QListWidget* list, std::function<void()> onClick)
        : list_(list), onClick_(std::move(onClick)) {}
    std::int64_t count() const override;
    Text item(std::int64_t index) const override;
    void setItem(std::int64_t index, const Text& text) override;
    void addItem(const Text& text) override;
    void addItems(const std::vector<Text>& texts) override;
    void removeItem(std::int64_t index) override;
    void clear() override;
    std::int64_t selectedIndex() const override;
    void setSelectedIndex(std::int64_t index) override;
    void setToolTip(const Text& text) override;

  private:
    QListWidget* list_;
    std::function<void()> onClick_;
};

// The engine counts in bytes, which need not fit an int: the bar shows the
// fraction done on a fixed scale.
class QtProgressBar : public ProgressBar {
  public:
    static constexpr int kScale = 10000;
    explicit QtProgressBar(QProgressBar* bar);
    void setMaximum(double maximum) override;
    void setValue(double value) override;
    void setVisible(bool visible) override;

  private:
    void show();
    QProgressBar* bar_;
    double maximum_ = 100;
    double value_ = 0;
};

// The hourglass is an application-wide override cursor, so it shows over
// every window until the action ends.
class QtMousePointer : public MousePointer {
  public:
    QtMousePointer() = default;
    QtMousePointer(const QtMousePointer&) = delete;
    QtMousePointer& operator=(const QtMousePointer&) = delete;
    ~QtMousePointer() override;
    void setPointer(int code) override;

  private:
    bool overriding_ = false;
};

}  // namespace tessark
