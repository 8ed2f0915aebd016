// SPDX-License-Identifier: MIT
// The main window's five-panel status bar. Panel 4 shows today's date by
// itself and keeps it current across midnight; a click on any panel is
// reported with the panel's number.
#pragma once

#include <QDateTime>
#include <QStatusBar>
#include <QTimer>
#include <array>
#include <functional>

#include "forms/controls.h"

class QLabel;

namespace tessark {

using Clock = std::function<QDateTime()>;

class StatusPanels : public QStatusBar, public StatusBar {
    Q_OBJECT

  public:
    static constexpr int kPanels = 5;
    static constexpr int kDatePanel = 4;

    StatusPanels(Clock now, QWidget* parent);

    void setPanelText(int panel, const Text& text) override;
    QString panelText(int panel) const;
    QLabel* panel(int panel) const { return panels_.at(static_cast<std::size_t>(panel - 1)); }

  signals:
    void panelClicked(int panel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showDate();

    Clock now_;
    std::array<QLabel*, kPanels> panels_{};
    QTimer dateTimer_;
};

// The time of day in the user's long time format, without a time zone.
QString longTime(const QTime& time);

}  // namespace tessark
