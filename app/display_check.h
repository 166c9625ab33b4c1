#pragma once

#include <QString>

// Without a display Qt aborts with a terse fatal message; say plainly what
// is missing instead. Returns an empty text when a display is there.
QString missingDisplayMessage(const QString &program);

// On a Wayland session the program runs through XWayland when it is there
// and the user asked for no platform (QT_QPA_PLATFORM, -platform): Wayland
// keeps from a program what it promises (its place on screen, hiding in the
// tray when minimised, bringing the running copy to the front). Returns the
// platform to use, or an empty text for Qt's own choice.
QString preferredPlatform(int argc, char *argv[]);
