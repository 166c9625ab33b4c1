#pragma once

#include "logging/clock.h"
#include "report/recent_days.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace wendle {

// "Wendle Report": the last 7 days as a timeline, today at the top, with
// each day's total. Pointing at a stretch tells its start, end and length;
// today's row follows the log while the window is open.
class ReportWindow : public QWidget {
    Q_OBJECT

public:
    // folder() tells the log folder at the moment the record is read.
    ReportWindow(const Clock &clock, std::function<std::string()> folder,
                 QWidget *parent = nullptr);

    // Starts reading the days again and shows the window in front; they
    // appear when read, away from the window's thread.
    void present();
    // Shows a finished reading; reads on in what today's file gained (all
    // days again after midnight).
    void refresh();
    // Waits for the reading under way, for tests.
    void finishReading() { m_days.finish(); }

    const std::vector<report::DayRecord> &days() const { return m_days.days(); }
    // What pointing at this spot shows; empty off every stretch.
    QString stretchTextAt(QPointF position) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    report::RecentDays m_days;
    QTimer m_follow;
};

} // namespace wendle
