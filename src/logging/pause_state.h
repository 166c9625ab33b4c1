#pragma once

#include "logging/clock.h"

#include <cstdint>

namespace wendle {

// Why logging is paused. When several hold, the tip names the last here.
enum class PauseReason { None, Locked, SwitchedAway, Asleep };

// Where the program hears that the session is locked, switched away or
// asleep. Desktops announce the same lock by several of them, some twice.
enum class PauseSource {
    ScreenSaver,       // org.freedesktop.ScreenSaver ActiveChanged (KDE, Xfce, others)
    GnomeScreenSaver,  // org.gnome.ScreenSaver ActiveChanged (GNOME Shell)
    SessionLock,       // logind's Lock and Unlock signals
    SessionLockedHint, // logind's LockedHint
    SessionInactive,   // logind's Active false: another session is in front
    Sleep,             // logind's PrepareForSleep; Windows' suspend and resume
    WindowsLock,       // WTS_SESSION_LOCK and UNLOCK
    // WTS_CONSOLE_ and WTS_REMOTE_DISCONNECT, and either CONNECT: a session
    // taken from the console to a remote screen is disconnected from one
    // and connected to the other.
    Disconnected,
};

// The union of what the sources last said. A source that says again what
// it said before changes nothing.
class PauseState {
public:
    // True when the reason changed.
    bool set(PauseSource source, bool on);
    PauseReason reason() const;
    bool paused() const { return m_on != 0; }

private:
    std::uint32_t m_on = 0;
};

// The wall clock went on by more than two intervals beyond the steady clock
// between two readings: the computer slept without saying so (or the clock
// was put forward by as much).
bool sleptUnannounced(const ClockReading &before, const ClockReading &now, int intervalMs);

} // namespace wendle
