#pragma once

#include <QIcon>
#include <QPixmap>

namespace wendle {

// The program's clock face: window, taskbar and tray all show this icon.
QPixmap clockPixmap(int size);
QIcon clockIcon();

// The picture on the browse button: an open yellow folder.
QPixmap openFolderPixmap(int size = 16);

} // namespace wendle
