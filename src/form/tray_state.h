#pragma once

#include "logging/pause_state.h"

#include <optional>
#include <string>

namespace wendle::form {

// Why logging waits for the user to come back, as the logging control says.
using wendle::PauseReason;

// The pictures the icon can show; each front end draws them its own way.
enum class TrayPicture { Clock, LoggingClock, Warning, Paused };

// Everything the icon tells. Its picture and tip are made from this alone,
// on every change and whenever the icon is made again, so that no update
// can put back a plain clock while lines are held.
struct TrayState {
    bool logging = false;
    int intervalSeconds = 10;
    // Between the notice that lines are held and the one that they are written.
    bool linesHeld = false;
    std::optional<PauseReason> paused;

    friend bool operator==(const TrayState &, const TrayState &) = default;
};

// Held lines come first: the user must not believe the record is fine.
TrayPicture trayPicture(const TrayState &state);
std::string trayTip(const TrayState &state);

} // namespace wendle::form
