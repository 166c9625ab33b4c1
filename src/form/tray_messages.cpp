#include "form/tray_messages.h"

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

} // namespace wendle::form
