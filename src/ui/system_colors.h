#pragma once

#include <QColor>
#include <QPalette>

namespace wendle {

// Colours written as 0x800000NN name the user's system colour number NN
// (8 window text, 15 button face, 16 button shadow, ...) and follow the
// user's palette; any other value is a fixed 0x00BBGGRR colour.
QColor systemColor(quint32 code, const QPalette &palette);

namespace SysColor {
constexpr quint32 WindowText = 0x80000008;
constexpr quint32 ButtonFace = 0x8000000F;
constexpr quint32 ButtonShadow = 0x80000010;
} // namespace SysColor

} // namespace wendle
