#pragma once

#include <QFont>

class QWidget;

namespace wendle {

// True when every caption of the window's labels, buttons and check boxes
// can be read whole at its widget's fixed size, written in the given font.
bool captionsFit(const QWidget &window, const QFont &font);

// The largest size of the font's family, no larger than its own, at which
// every caption fits.
QFont fittingCaptionFont(const QWidget &window, QFont font);

} // namespace wendle
