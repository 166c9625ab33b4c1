#pragma once

#include "logging/clock.h"
#include "report/recent_days.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QScrollArea;
class QTreeWidget;

namespace wendle {

class TimelineView;

// "Wendle Report": the last 7 days as a timeline, today at the top, with
// each day's total; below it the same days and their stretches as a list a
// screen reader reads and the arrow keys go through (the chosen one marked
// on the timeline), and the grand total with any unreadable lines. Pointing
// at a stretch tells its start, end and length; today's row follows the log
// while the window is open.
class ReportWindow : public QWidget {
    Q_OBJECT

public:
    // folders() tells the folders at the moment the record is read.
    ReportWindow(const Clock &clock, std::function<std::vector<std::string>()> folders,
                 QWidget *parent = nullptr);

    // Starts reading the days again and shows the window in front; they
    // appear when read, away from the window's thread.
    void present();
    // Shows a finished reading; reads on in what today's file gained (all
    // days again after midnight).
    void refresh();
    // Waits for the reading under way and shows it, for tests.
    void finishReading();

    const std::vector<report::DayRecord> &days() const { return m_days.days(); }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showDays();
    void sizeToContent();

    report::RecentDays m_days;
    QTimer m_follow;
    TimelineView *m_timeline;
    QScrollArea *m_scroll;
    QTreeWidget *m_list;
    QLabel *m_summary;
    std::function<std::vector<std::string>()> m_folders;
    QPointer<QWidget> m_cameFrom;
    bool m_sized = false;
};

} // namespace wendle
