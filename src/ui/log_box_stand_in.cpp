#include "ui/log_box_stand_in.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFocusEvent>

namespace wendle {

LogBoxStandIn::LogBoxStandIn(QWidget *parent) : QAbstractScrollArea(parent) {
    // As the editor shows when empty.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
}

void LogBoxStandIn::focusInEvent(QFocusEvent *event) {
    emit needed(event->reason());
}

void LogBoxStandIn::contextMenuEvent(QContextMenuEvent *event) {
    emit menuAsked(event->globalPos());
}

void LogBoxStandIn::dragEnterEvent(QDragEnterEvent *event) {
    // The editor takes the drag as the pointer moves on.
    event->ignore();
    emit needed(Qt::OtherFocusReason);
}

} // namespace wendle
