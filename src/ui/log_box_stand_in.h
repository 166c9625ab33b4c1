#pragma once

#include <QAbstractScrollArea>

namespace wendle {

// What the recent-log box is until it is first needed: the same empty,
// framed box with its scroll bar, without the text editor behind it (a
// document, its layout, undo), which would cost every start memory for a box
// that starts empty. It asks for the editor as soon as anything reaches for
// it: the focus, a click, a drag, its menu.
class LogBoxStandIn : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LogBoxStandIn(QWidget *parent = nullptr);

signals:
    void needed(Qt::FocusReason reason);
    void menuAsked(QPoint globalPosition);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
};

} // namespace wendle
