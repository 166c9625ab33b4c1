#pragma once

#include <QImage>

namespace wendle {

// The mark in the corner of the tray's clock.
enum class ClockMark { None, Logging, Paused };

// The program's clock face: window, taskbar and tray all show it, and the
// installed icon files are made from it. While logging, the tray's clock
// carries a round mark in its corner; while logging is paused, a square one
// with the two bars of a pause: told apart by their shapes as well as their
// colours.
QImage clockImage(int size, ClockMark mark);
inline QImage clockImage(int size, bool logging = false) {
    return clockImage(size, logging ? ClockMark::Logging : ClockMark::None);
}

// The picture on the browse button: an open yellow folder.
QImage openFolderImage(int size = 16);

} // namespace wendle
