#pragma once

#include <QIcon>
#include <QPixmap>

namespace wendle {

// The clock face at every size it is shown at: window, taskbar and tray.
QIcon clockIcon();
// The tray's clock while logging: the same face with a mark.
QIcon loggingClockIcon();
// The tray's clock while logging is paused: the face with another mark.
QIcon pausedClockIcon();

// The open folder on the browse button.
QPixmap openFolderPixmap();

} // namespace wendle
