#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace wendle {

// The program's clock face: window, taskbar and tray all show this icon,
// and the installed icon files are made from it. clockImage needs no
// running application.
QImage clockImage(int size);
QPixmap clockPixmap(int size);
QIcon clockIcon();

// The picture on the browse button: an open yellow folder.
QPixmap openFolderPixmap(int size = 16);

} // namespace wendle
