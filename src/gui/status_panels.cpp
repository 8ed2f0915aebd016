// SPDX-License-Identifier: MIT
#include "gui/status_panels.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "design/panel_font.h"
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

// Room above and below the panels, in pixels.
constexpr int kPanelTop = 3;
constexpr int kPanelBottom = 2;

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

bool allFit(const QFontMetrics& metrics, const QLabel* label, const QStringList& texts) {
    return std::all_of(texts.begin(), texts.end(), [&](const QString& text) {
        return metrics.horizontalAdvance(text) <= label->contentsRect().width();
    });
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
        panels_.push_back(label);
        if (described.style == design::PanelStyle::Date) {
            datePanels_.push_back(label);
        }
    }
    placePanels();
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
    if (!allFit(QFontMetrics(label->font()), label, {label->text()})) {
        fitFont();
    }
}

void StatusPanels::setClockPanel(int panel) {
    clockPanel_ = this->panel(panel);
    fitFont();
}

void StatusPanels::fitFont() {
    const auto texts = [](const QStringList& list) {
        std::vector<Text> out;
        for (const QString& text : list) {
            out.push_back(tx(text));
        }
        return out;
    };
    std::vector<design::PanelTexts> panels;
    for (const QLabel* label : panels_) {
        panels.push_back({label->contentsRect().width(), {tx(label->text())}});
    }
    const std::vector<Text> dates = texts(dateSamples(now_().date().year()));
    for (const QLabel* label : datePanels_) {
        panels.push_back({label->contentsRect().width(), dates});
    }
    if (clockPanel_ != nullptr) {
        panels.push_back({clockPanel_->contentsRect().width(), texts(clockSamples())});
    }
    QFont font = this->font();
    const QFont designed = font;
    font.setPointSizeF(design::fitPanelFont(
        QFontInfo(designed).pointSizeF(), panels, [&designed](double points, const Text& text) {
            QFont sized = designed;
            sized.setPointSizeF(points);
            return QFontMetrics(sized).horizontalAdvance(qs(text));
        }));
    for (QLabel* label : panels_) {
        label->setFont(font);
    }
}

void StatusPanels::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitFont();
    }
}

// The panels stand side by side from the bar's left edge, each at its own
// width, as designed. The bar's own layout would put gaps between them and,
// short of room, lay them over each other.
void StatusPanels::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    placePanels();
}

void StatusPanels::placePanels() {
    int left = 0;
    for (QLabel* label : panels_) {
        label->setGeometry(left, kPanelTop, label->width(), height() - kPanelTop - kPanelBottom);
        left += label->width();
    }
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
