#pragma once

#include <QRect>
#include <QtMath>

namespace wendle {

// The window's layout is kept in twips, 1440 to the inch (15 to a pixel at
// 96 dpi), so that it scales with the screen's resolution.
inline int twipsToPixels(int twips, qreal dpi) {
    return qRound(twips * dpi / 1440.0);
}

inline QRect twipsRect(int left, int top, int width, int height, qreal dpi) {
    return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                 twipsToPixels(height, dpi));
}

} // namespace wendle
