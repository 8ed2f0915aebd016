// SPDX-License-Identifier: MIT
// The main window's status bar, divided into the panels of its description.
// A date panel shows today's date by itself and keeps it current across
// midnight; a click on any panel is reported with the panel's number (from 1).
#pragma once

#include <QDateTime>
#include <QStatusBar>
#include <QTimer>
#include <functional>
#include <vector>

#include "design/window_design.h"
#include "engine/core/controls.h"

class QLabel;

namespace tessark {

using Clock = std::function<QDateTime()>;

class StatusPanels : public QStatusBar, public StatusBar {
    Q_OBJECT

  public:
    StatusPanels(Clock now, const std::vector<design::StatusPanel>& panels, QWidget* parent);

    void setPanelText(int panel, const Text& text) override;
    QString panelText(int panel) const;
    QLabel* panel(int panel) const { return panels_.at(static_cast<std::size_t>(panel - 1)); }
    int panelCount() const { return static_cast<int>(panels_.size()); }

  signals:
    void panelClicked(int panel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showDate();

    Clock now_;
    std::vector<QLabel*> panels_;
    std::vector<QLabel*> datePanels_;
    QTimer dateTimer_;
};

// The time of day in the user's long time format, without a time zone.
QString longTime(const QTime& time);

}  // namespace tessark
