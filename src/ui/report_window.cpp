#include "ui/report_window.h"

#include "form/contrast.h"
#include "report/report_entries.h"
#include "report/report_window_design.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wendle {

namespace {

unsigned rgbOf(const QColor &colour) {
    return colour.rgb() & 0xFFFFFF;
}

// The scheme's colours; the bars keep their one colour.
report::TimelineColors schemeColors(const QPalette &palette) {
    report::TimelineColors colors;
    colors.background = rgbOf(palette.color(QPalette::Base));
    colors.band = rgbOf(palette.color(QPalette::AlternateBase));
    colors.hourLine = rgbOf(palette.color(QPalette::Mid));
    colors.text = rgbOf(palette.color(QPalette::Text));
    // The hour labels are small: greyed, but as readable as text must be.
    colors.axisText = form::readableGrey(rgbOf(palette.color(QPalette::PlaceholderText)),
                                         colors.text, colors.background, 4.5);
    if (palette.color(QPalette::Base).lightness() < 128)
        colors.bar = 0x5cb87f; // the same green, lighter to stand out on dark
    return colors;
}

report::WindowFont windowFont(const QFont &font) {
    const QFontMetricsF metrics(font);
    return {metrics.height(),
            metrics.horizontalAdvance(QString::fromLatin1(report::DayColumnSample)),
            metrics.horizontalAdvance(QString::fromLatin1(report::TotalColumnSample))};
}

// The timeline is a picture to a screen reader, named and described as the
// SVG file is; what it shows is read from the list below it.
QAccessibleInterface *timelineAccessible(const QString &, QObject *object);

} // namespace

// The days as a picture: a row a day, the chosen day or stretch outlined.
class TimelineView : public QWidget {
public:
    explicit TimelineView(const std::vector<report::DayRecord> &days) : m_days(days) {}

    void choose(int day, int stretch) {
        m_day = day;
        m_stretch = stretch;
        update();
    }
    report::Timeline layOut() const {
        return report::layOutReportWindow(m_days, windowFont(font()), width(), height());
    }
    // The window shows this many days, read or not yet.
    QSize sizeHint() const override {
        const report::WindowSize size =
            report::reportTimelineSize(windowFont(font()), report::RecentDays::Count);
        return {size.width, size.height};
    }
    // Below this the rows scroll.
    int rowsHeight() const {
        return int(
            report::reportTimelineMinimumHeight(windowFont(font()), report::RecentDays::Count));
    }

protected:
    void paintEvent(QPaintEvent *) override {
        using Item = report::TimelineItem;
        const report::TimelineColors colors = schemeColors(palette());
        const auto color = [&](Item::Role role) {
            return QColor::fromRgb(report::roleColor(role, colors));
        };
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(colors.background));
        painter.setRenderHint(QPainter::Antialiasing, false);
        const report::Timeline timeline = layOut();
        for (const Item &item : timeline.items) {
            switch (item.kind) {
            case Item::Kind::Box:
                painter.fillRect(QRectF(item.x, item.y, item.width, item.height), color(item.role));
                break;
            case Item::Kind::Line:
                painter.setPen(color(item.role));
                painter.drawLine(QPointF(item.x, item.y),
                                 QPointF(item.x + item.width, item.y + item.height));
                break;
            case Item::Kind::Text: {
                painter.setPen(color(item.role));
                const QString text = qt(item.text);
                const qreal width = painter.fontMetrics().horizontalAdvance(text);
                const qreal x = item.anchor == Item::Anchor::Start    ? item.x
                                : item.anchor == Item::Anchor::Middle ? item.x - width / 2
                                                                      : item.x - width;
                painter.drawText(QPointF(x, item.y), text);
                break;
            }
            }
        }
        if (const Item *chosen = report::timelineItemOf(timeline, m_day, m_stretch)) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(
                QRectF(chosen->x - 2, chosen->y - 1, chosen->width + 4, chosen->height + 2));
        }
    }
    bool event(QEvent *event) override {
        if (event->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(event);
            const QString text =
                qt(report::timelineTextAt(layOut(), help->pos().x(), help->pos().y()));
            if (text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), text, this);
            return true;
        }
        return QWidget::event(event);
    }

private:
    const std::vector<report::DayRecord> &m_days;
    int m_day = -1;
    int m_stretch = -1;
};

namespace {

QAccessibleInterface *timelineAccessible(const QString &, QObject *object) {
    auto *view = dynamic_cast<TimelineView *>(object);
    return view ? new QAccessibleWidget(view, QAccessible::Graphic) : nullptr;
}

} // namespace

ReportWindow::ReportWindow(const Clock &clock, std::function<std::vector<std::string>()> folders,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), m_days(clock, folders), m_folders(std::move(folders)) {
    // Qt installs a factory once, however often it is given.
    QAccessible::installFactory(timelineAccessible);
    setObjectName(QStringLiteral("reportWindow"));
    setWindowTitle(QString::fromLatin1(report::ReportWindowTitle));
    setWindowIcon(clockIcon());
    setAttribute(Qt::WA_QuitOnClose, false);

    m_timeline = new TimelineView(m_days.days());
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_timeline);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_timeline->setMinimumHeight(m_timeline->rowsHeight());
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("reportDays"));
    m_list->setAccessibleName(QStringLiteral("Days"));
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("reportSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Tab reaches the grand total and the unreadable lines, so that a screen
    // reader hears them.
    m_summary->setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    // The list some lines high; the timeline takes what the window gains.
    m_list->setFixedHeight(QFontMetrics(font()).height() * 7);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_list);
    layout->addWidget(m_summary);

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            m_timeline->choose(item->data(0, Qt::UserRole).toInt(),
                               item->data(0, Qt::UserRole + 1).toInt());
    });
    m_follow.setInterval(report::ReportFollowMilliseconds);
    connect(&m_follow, &QTimer::timeout, this, &ReportWindow::refresh);
    // Escape closes it, as it closes a dialog: no mouse needed.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    showDays();
}

void ReportWindow::present() {
    // Where the focus goes back to when the report closes.
    if (QWidget *focused = QApplication::focusWidget(); focused && focused->window() != this)
        m_cameFrom = focused;
    m_days.refresh();
    if (!m_sized)
        sizeToContent();
    show();
    raise();
    activateWindow();
    m_list->setFocus(Qt::ActiveWindowFocusReason);
}

void ReportWindow::sizeToContent() {
    // From the font and the resolution, within the screen; what does not
    // fit scrolls.
    m_sized = true;
    const QFontMetrics metrics(font());
    QSize wanted = m_timeline->sizeHint() + QSize(2 * layout()->contentsMargins().left(), 0);
    wanted.rheight() += m_list->height() + metrics.height() * 4;
    if (const QScreen *screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted);
}

void ReportWindow::refresh() {
    if (m_days.poll())
        showDays();
}

void ReportWindow::finishReading() {
    m_days.finish();
    showDays();
}

void ReportWindow::showDays() {
    const std::vector<report::ReportEntry> entries = report::reportEntries(days());
    // While following today the entries stay in place, so that a screen
    // reader keeps its place too; only their words change.
    std::vector<QTreeWidgetItem *> items;
    for (QTreeWidgetItemIterator it(m_list); *it; ++it)
        items.push_back(*it);
    const auto key = [](const report::ReportEntry &entry) {
        return std::pair(int(entry.day), entry.stretch);
    };
    bool same = items.size() == entries.size();
    for (std::size_t i = 0; same && i < entries.size(); ++i)
        same = key(entries[i]) == std::pair(items[i]->data(0, Qt::UserRole).toInt(),
                                            items[i]->data(0, Qt::UserRole + 1).toInt());
    if (same) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (items[i]->text(0) != qt(entries[i].name))
                items[i]->setText(0, qt(entries[i].name));
    } else {
        const int current =
            m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : 0;
        m_list->clear();
        QTreeWidgetItem *day = nullptr;
        for (const report::ReportEntry &entry : entries) {
            auto *item = entry.stretch < 0 ? new QTreeWidgetItem(m_list) : new QTreeWidgetItem(day);
            if (entry.stretch < 0)
                day = item;
            item->setText(0, qt(entry.name));
            item->setData(0, Qt::UserRole, int(entry.day));
            item->setData(0, Qt::UserRole + 1, entry.stretch);
        }
        // Days open, each with its stretches; a stretch has nothing to open.
        for (int d = 0; d < m_list->topLevelItemCount(); ++d)
            if (m_list->topLevelItem(d)->childCount() > 0)
                m_list->topLevelItem(d)->setExpanded(true);
        if (QTreeWidgetItem *item = m_list->topLevelItem(std::max(0, current)))
            m_list->setCurrentItem(item);
    }
    m_summary->setText(qt(report::reportSummary(days())));
    // The grand total is also heard with the list, as the window opens.
    m_list->setAccessibleDescription(m_summary->text());
    if (!days().empty()) {
        const report::SvgHeading heading = report::timelineHeading(
            report::folderListText(m_folders()), days().back().date, days().front().date, days());
        m_timeline->setAccessibleName(qt(heading.title));
        m_timeline->setAccessibleDescription(qt(heading.description));
    }
    m_timeline->update();
}

void ReportWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    m_follow.start();
}

void ReportWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible())
        return;
    // Minimised, it is not read: it stops following today, and catches up
    // at once when it is shown again.
    if (isMinimized()) {
        m_follow.stop();
    } else if (!m_follow.isActive()) {
        m_days.refresh();
        m_follow.start();
    }
}

void ReportWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    m_follow.stop();
    // Closed, not minimised: back where the report was opened from, and
    // heard there.
    if (event->spontaneous())
        return;
    if (QWidget *back = m_cameFrom.data(); back && back->isVisible()) {
        back->window()->activateWindow();
        back->setFocus(Qt::ActiveWindowFocusReason);
    }
    m_cameFrom = nullptr;
}

} // namespace wendle
