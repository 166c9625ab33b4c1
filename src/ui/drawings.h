#pragma once

#include <QImage>

namespace wendle {

// The program's clock face: window, taskbar and tray all show it, and the
// installed icon files are made from it. While logging, the tray's clock
// carries a round mark in its corner, told apart by its shape as well as
// its colour.
QImage clockImage(int size, bool logging = false);

// The picture on the browse button: an open yellow folder.
QImage openFolderImage(int size = 16);

} // namespace wendle
