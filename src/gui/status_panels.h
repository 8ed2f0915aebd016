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
#include "forms/controls.h"

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

    // The panel that the window's clock writes the time of day into; the
    // panels' font leaves room for it at every hour.
    void setClockPanel(int panel);
    // Gives the panels the largest size of the bar's font, at most its own,
    // at which every panel's text fits inside the panel, the clock and the
    // date at their widest.
    void fitFont();

  signals:
    void panelClicked(int panel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showDate();
    void placePanels();

    Clock now_;
    std::vector<QLabel*> panels_;
    std::vector<QLabel*> datePanels_;
    QLabel* clockPanel_ = nullptr;
    QTimer dateTimer_;
};

// The time of day in the user's long time format, without a time zone.
QString longTime(const QTime& time);

}  // namespace tessark
