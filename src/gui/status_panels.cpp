// SPDX-License-Identifier: MIT
#include "gui/status_panels.h"

#include <QLabel>
#include <QLocale>
#include <QMouseEvent>

#include "qtshared/qt_text.h"

namespace tessark {

namespace {
// Widths in twips, left to right.
constexpr std::array<int, StatusPanels::kPanels> kPanelWidths = {2150, 2350, 1300, 1100, 1000};
}  // namespace

StatusPanels::StatusPanels(Clock now, QWidget* parent) : QStatusBar(parent), now_(std::move(now)) {
    setSizeGripEnabled(false);
    for (int i = 0; i < kPanels; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setFixedWidth(
            static_cast<int>(std::lround(kPanelWidths.at(static_cast<std::size_t>(i)) / 15.0)));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(0);
        label->installEventFilter(this);
        addWidget(label);
        panels_.at(static_cast<std::size_t>(i)) = label;
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
    if (panel(kDatePanel)->text() != today) {
        panel(kDatePanel)->setText(today);
    }
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = static_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label->rect().contains(mouse->position().toPoint())) {
            for (int i = 0; i < kPanels; ++i) {
                if (panels_.at(static_cast<std::size_t>(i)) == label) {
                    emit panelClicked(i + 1);
                    return true;
                }
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
