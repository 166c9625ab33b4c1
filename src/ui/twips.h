#pragma once

#include <QRect>

#include "form/layout.h"

namespace wendle {

using form::twipsToPixels;

inline QRect twipsRect(int left, int top, int width, int height, qreal dpi) {
    return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                 twipsToPixels(height, dpi));
}

} // namespace wendle
