#pragma once

#include <QColor>
#include <QPalette>

#include "form/looks.h"

namespace wendle {

// Colours written as 0x800000NN name the user's system colour number NN
// (8 window text, 15 button face, 16 button shadow, ...) and follow the
// user's palette; any other value is a fixed 0x00BBGGRR colour.
QColor systemColor(quint32 code, const QPalette &palette);

namespace SysColor = form::SysColor;

} // namespace wendle
