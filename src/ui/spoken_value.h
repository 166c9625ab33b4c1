#pragma once

#include <QString>

class QAbstractSlider;

namespace wendle {

// A slider read to a screen reader with its value in words ("60 seconds"),
// once, whenever it changes. Qt 6.4 gives AT-SPI no value text for a slider
// (a screen reader hears the bare number), so such a slider is read as a
// spin button, whose shown text screen readers take as its value; its
// range, step and number stay readable and settable. The first call must
// come before the slider is first read.
void setSpokenValue(QAbstractSlider *slider, const QString &words);

} // namespace wendle
