#pragma once

namespace wendle::form {

// The mouse messages of the notification icon, by their window-message numbers.
constexpr int TrayMouseMove = 0x200;
constexpr int TrayLeftButtonDown = 0x201;
constexpr int TrayLeftButtonUp = 0x202;
constexpr int TrayLeftDoubleClick = 0x203;
constexpr int TrayRightButtonDown = 0x204;
constexpr int TrayRightButtonUp = 0x205;
constexpr int TrayMiddleButtonDown = 0x207;

enum class TrayAction { None, RestoreWindow, ShowPopupMenu };

// The one place that decides what an icon message does. The messages come
// through the tray's own channel (Windows: the icon's private callback
// message, its lParam the mouse message; Qt: the icon's activation), never
// from the pointer moving over the window, whatever its width.
TrayAction decodeTrayMessage(int message);

} // namespace wendle::form
