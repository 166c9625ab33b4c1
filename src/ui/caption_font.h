#pragma once

#include <QFont>
#include <QList>

class QWidget;

namespace wendle {

// True when every caption of these labels, buttons and check boxes can be
// read whole at its widget's fixed size, written in the given font.
bool captionsFit(const QList<QWidget *> &widgets, const QFont &font);

// The largest size of the font's family, no larger than its own, at which
// every caption fits; the window's layout is fixed, so the text must adapt.
QFont fittingCaptionFont(const QList<QWidget *> &widgets, QFont font);

} // namespace wendle
