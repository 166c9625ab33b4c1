#pragma once

namespace wendle::form {

// The program's own words.
inline constexpr const char *WindowCaption = "Quorvel Wendle";
inline constexpr const char *ApplicationTitle = "Wendle";
inline constexpr const char *TrayTip = "Quorvel Wendle";
// The icon's tip while lines are held; short enough for every tray.
inline constexpr const char *TrayTipHolding = "Quorvel Wendle: lines held, folder not writable";
// The icon's tip while logging waits for the user to come back.
inline constexpr const char *TrayTipPausedLocked =
    "Quorvel Wendle: paused while the screen is locked";
inline constexpr const char *TrayTipPausedAsleep =
    "Quorvel Wendle: paused while the computer is asleep";
inline constexpr const char *TrayTipPausedSwitchedAway =
    "Quorvel Wendle: paused while the session is switched away";
inline constexpr const char *BrowseTitle = "Select the Folder to store wendle files in";
inline constexpr const char *AutostartQuestion = "Do you want to start logging automatically?";
inline constexpr const char *PopupMenuCaption = "Popup";
inline constexpr const char *ReportCaption = "Report\xE2\x80\xA6";
inline constexpr const char *StartAtLoginCaption = "Start at Login";
inline constexpr const char *PauseWhileLockedCaption = "Pause While Locked";
inline constexpr const char *ExitCaption = "E&xit";
// What a screen reader says for the controls that show no words of their own.
inline constexpr const char *BrowseAccessibleName = "Choose folder\xE2\x80\xA6";
inline constexpr const char *RecentLogAccessibleName = "Recent Log";
inline constexpr const char *RecentLogDescription =
    "The end of today's log, as Show Recent Log read it";

} // namespace wendle::form
