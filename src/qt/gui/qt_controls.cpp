// SPDX-License-Identifier: MIT
#include "gui/qt_controls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "qtshared/qt_text.h"

namespace tessark {

Text QtTextBox::text() const {
    return tx(edit_->text());
}

void QtTextBox::setText(const Text& text) {
    edit_->setText(qs(text));
}

void QtTextBox::selectAll() {
    edit_->selectAll();
}

void QtTextBox::caretToEnd() {
    edit_->end(false);
}

void QtTextBox::setFocus() {
    edit_->setFocus(Qt::OtherFocusReason);
}

void QtLabel::setCaption(const Text& caption) {
    label_->setText(qs(caption));
    if (sizesItself_) {
        label_->adjustSize();
    }
}

bool QtOptionButton::selected() const {
    return button_->isChecked();
}

namespace {
int row(std::int64_t index) {
    return static_cast<int>(index);
}
}  // namespace

std::int64_t QtListBox::count() const {
    return list_->count();
}

Text QtListBox::item(std::int64_t index) const {
    return tx(list_->item(row(index))->text());
}

void QtListBox::setItem(std::int64_t index, const Text& text) {
    list_->item(row(index))->setText(qs(text));
}

void QtListBox::addItem(const Text& text) {
    const QSignalBlocker quiet(list_);
    list_->addItem(qs(text));
}

void QtListBox::addItems(const std::vector<Text>& texts) {
    if (texts.empty()) {
        return;
    }
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(texts.size()));
    for (const Text& text : texts) {
        rows.append(qs(text));
    }
    // One insertion with painting paused: a set of many thousand pieces
    // would otherwise lay the list out again for every entry.
    const QSignalBlocker quiet(list_);
    list_->setUpdatesEnabled(false);
    list_->addItems(rows);
    list_->setUpdatesEnabled(true);
}

void QtListBox::removeItem(std::int64_t index) {
    const QSignalBlocker quiet(list_);
    const bool wasSelected = selectedIndex() == index;
    delete list_->takeItem(row(index));
    if (wasSelected) {
        // Removing the selected entry leaves nothing selected; the list must
        // not move the selection to a neighbour by itself.
        list_->setCurrentRow(-1);
        list_->clearSelection();
    }
}

void QtListBox::clear() {
    const QSignalBlocker quiet(list_);
    list_->clear();
}

std::int64_t QtListBox::selectedIndex() const {
    const int current = list_->currentRow();
    if (current < 0 || !list_->item(current)->isSelected()) {
        return -1;
    }
    return current;
}

void QtListBox::setSelectedIndex(std::int64_t index) {
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(row(index));
        if (index < 0) {
            list_->clearSelection();
        }
    }
    if (onClick_) {
        onClick_();
    }
}

void QtListBox::setToolTip(const Text& text) {
    list_->setToolTip(qs(text));
}

QtProgressBar::QtProgressBar(QProgressBar* bar) : bar_(bar) {
    bar_->setRange(0, kScale);
}

void QtProgressBar::setMaximum(double maximum) {
    maximum_ = maximum;
    show();
}

void QtProgressBar::setValue(double value) {
    value_ = value;
    show();
}

void QtProgressBar::show() {
    const double fraction = maximum_ > 0 ? std::clamp(value_ / maximum_, 0.0, 1.0) : 0.0;
    bar_->setValue(static_cast<int>(std::lround(fraction * kScale)));
}

void QtProgressBar::setVisible(bool visible) {
    if (visible) {
        bar_->raise();  // in front of the split area's frame
    }
    bar_->setVisible(visible);
}

QtMousePointer::~QtMousePointer() {
    setPointer(pointer::Default);
}

void QtMousePointer::setPointer(int code) {
    const bool hourglass = code == pointer::Hourglass;
    if (hourglass && !overriding_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!hourglass && overriding_) {
        QApplication::restoreOverrideCursor();
    }
    overriding_ = hourglass;
}

}  // namespace tessark
