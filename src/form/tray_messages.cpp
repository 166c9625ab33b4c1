#include "form/tray_messages.h"

#include <algorithm>
#include <cmath>

namespace wendle::form {

TrayAction decodeTrayMessage(int message) {
    switch (message) {
    case TrayLeftButtonDown:
    case TrayLeftDoubleClick:
        return TrayAction::RestoreWindow;
    case TrayRightButtonDown:
        return TrayAction::ShowPopupMenu;
    default:
        return TrayAction::None;
    }
}

int trayMessageFromMouseX(double xPixels, double dpi) {
    const long twipsPerPixel = std::max(1L, std::lround(1440.0 / dpi));
    const long x = std::lround(xPixels * 1440.0 / dpi);
    return static_cast<int>(x / twipsPerPixel);
}

} // namespace wendle::form
