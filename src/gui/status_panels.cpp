// SPDX-License-Identifier: MIT
#include "gui/status_panels.h"

#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "qtshared/qt_text.h"

namespace tessark {

namespace {

int frameStyle(design::Bevel bevel) {
    switch (bevel) {
        case design::Bevel::Inset:
            return QFrame::Panel | QFrame::Sunken;
        case design::Bevel::Raised:
            return QFrame::Panel | QFrame::Raised;
        case design::Bevel::None:
            break;
    }
    return QFrame::NoFrame;
}

}  // namespace

StatusPanels::StatusPanels(Clock now, const std::vector<design::StatusPanel>& panels,
                           QWidget* parent)
    : QStatusBar(parent), now_(std::move(now)) {
    setSizeGripEnabled(false);
    for (const design::StatusPanel& described : panels) {
        auto* label = new QLabel(qs(described.text), this);
        label->setObjectName(QStringLiteral("Panel%1").arg(panels_.size() + 1));
        label->setFixedWidth(static_cast<int>(std::lround(described.width / 15.0)));
        label->setFrameStyle(frameStyle(described.bevel));
        label->setIndent(0);
        label->installEventFilter(this);
        addWidget(label);
        panels_.push_back(label);
        if (described.style == design::PanelStyle::Date) {
            datePanels_.push_back(label);
        }
    }
    showDate();
    // The date panel looks at the clock often enough to turn over at midnight.
    dateTimer_.setInterval(1000);
    connect(&dateTimer_, &QTimer::timeout, this, &StatusPanels::showDate);
    dateTimer_.start();
}

void StatusPanels::setPanelText(int panel, const Text& text) {
    this->panel(panel)->setText(qs(text));
}

QString StatusPanels::panelText(int panel) const {
    return this->panel(panel)->text();
}

void StatusPanels::showDate() {
    const QString today = QLocale::system().toString(now_().date(), QLocale::ShortFormat);
    for (QLabel* label : datePanels_) {
        if (label->text() != today) {
            label->setText(today);
        }
    }
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = static_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label->rect().contains(mouse->position().toPoint())) {
            const auto found = std::find(panels_.begin(), panels_.end(), label);
            if (found != panels_.end()) {
                emit panelClicked(static_cast<int>(found - panels_.begin()) + 1);
                return true;
            }
        }
    }
    return QStatusBar::eventFilter(watched, event);
}

QString longTime(const QTime& time) {
    // The long format of some locales ends in the time zone, which a clock
    // panel has no room for.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

}  // namespace tessark
