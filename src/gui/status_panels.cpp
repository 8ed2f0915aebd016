// SPDX-License-Identifier: MIT
#include "gui/status_panels.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <algorithm>

#include "qtshared/qt_text.h"

namespace tessark {

namespace {
// Widths in twips, left to right.
constexpr std::array<int, StatusPanels::kPanels> kPanelWidths = {2150, 2350, 1300, 1100, 1000};

// The font shrinks in steps of a quarter point, down to where the texts could
// not be read anyway.
constexpr qreal kFontStep = 0.25;
constexpr qreal kSmallestFont = 5.0;

// The texts the clock will show, at their widest: every hour, as some formats
// write 9 and 10 o'clock, or morning and afternoon, differently.
QStringList clockSamples() {
    QStringList samples;
    for (int hour = 0; hour < 24; ++hour) {
        samples << longTime(QTime(hour, 58, 58));
    }
    return samples;
}

// The dates of this year at their widest: a two-digit day in every month.
QStringList dateSamples(int year) {
    QStringList samples;
    for (int month = 1; month <= 12; ++month) {
        samples << QLocale::system().toString(QDate(year, month, 28), QLocale::ShortFormat);
    }
    return samples;
}

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
    fitFont();
    // The date panel looks at the clock often enough to turn over at midnight.
    dateTimer_.setInterval(1000);
    connect(&dateTimer_, &QTimer::timeout, this, &StatusPanels::showDate);
    dateTimer_.start();
}

void StatusPanels::setPanelText(int panel, const Text& text) {
    QLabel* label = this->panel(panel);
    label->setText(qs(text));
    if (QFontMetrics(label->font()).horizontalAdvance(label->text()) >
        label->contentsRect().width()) {
        fitFont();
    }
}

void StatusPanels::fitFont() {
    QFont font = this->font();
    qreal points = QFontInfo(font).pointSizeF();
    while (!fits(font) && points - kFontStep >= kSmallestFont) {
        points -= kFontStep;
        font.setPointSizeF(points);
    }
    for (QLabel* label : panels_) {
        label->setFont(font);
    }
}

bool StatusPanels::fits(const QFont& font) const {
    const QFontMetrics metrics(font);
    const auto fitsIn = [&metrics](const QLabel* label, const QStringList& texts) {
        return std::all_of(texts.begin(), texts.end(), [&](const QString& text) {
            return metrics.horizontalAdvance(text) <= label->contentsRect().width();
        });
    };
    for (int i = 1; i <= kPanels; ++i) {
        if (!fitsIn(panel(i), {panelText(i)})) {
            return false;
        }
    }
    return fitsIn(panel(kDatePanel), dateSamples(now_().date().year())) &&
           fitsIn(panel(kClockPanel), clockSamples());
}

void StatusPanels::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitFont();
    }
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
