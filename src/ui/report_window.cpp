#include "ui/report_window.h"

#include "report/report_window_design.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"

#include <QHelpEvent>
#include <QPainter>
#include <QShortcut>
#include <QToolTip>

#include <algorithm>

namespace wendle {

namespace {

QColor color(report::TimelineItem::Role role) {
    return QColor::fromRgb(report::roleColor(role));
}

report::Timeline layOut(const std::vector<report::DayRecord> &days, const QWidget &widget) {
    const QFontMetricsF metrics(widget.font());
    return report::layOutReportWindow(
        days,
        {metrics.height(), metrics.horizontalAdvance(QString::fromLatin1(report::DayColumnSample)),
         metrics.horizontalAdvance(QString::fromLatin1(report::TotalColumnSample))},
        widget.width(), widget.height());
}

} // namespace

ReportWindow::ReportWindow(const Clock &clock, std::function<std::string()> folder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_days(clock, std::move(folder)) {
    setObjectName(QStringLiteral("reportWindow"));
    setWindowTitle(QString::fromLatin1(report::ReportWindowTitle));
    setWindowIcon(clockIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(420, 200);
    resize(report::ReportWindowWidth, report::ReportWindowHeight);
    m_follow.setInterval(report::ReportFollowMilliseconds);
    connect(&m_follow, &QTimer::timeout, this, &ReportWindow::refresh);
    // Escape closes it, as it closes a dialog: no mouse needed.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

void ReportWindow::present() {
    m_days.refresh();
    show();
    raise();
    activateWindow();
}

void ReportWindow::refresh() {
    if (m_days.poll())
        update();
}

QString ReportWindow::stretchTextAt(QPointF position) const {
    return qt(report::timelineTextAt(layOut(days(), *this), position.x(), position.y()));
}

void ReportWindow::paintEvent(QPaintEvent *) {
    using Item = report::TimelineItem;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Item &item : layOut(days(), *this).items) {
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
}

bool ReportWindow::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = stretchTextAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void ReportWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    m_follow.start();
}

void ReportWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    m_follow.stop();
}

} // namespace wendle
