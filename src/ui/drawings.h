#pragma once

#include <QImage>

namespace wendle {

// The program's clock face: window, taskbar and tray all show it, and the
// installed icon files are made from it.
QImage clockImage(int size);

// The picture on the browse button: an open yellow folder.
QImage openFolderImage(int size = 16);

} // namespace wendle
