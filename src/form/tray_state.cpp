#include "form/tray_state.h"

#include "form/interval_text.h"
#include "form/texts.h"

namespace wendle::form {

TrayPicture trayPicture(const TrayState &state) {
    if (state.linesHeld)
        return TrayPicture::Warning;
    if (state.paused)
        return TrayPicture::Paused;
    return state.logging ? TrayPicture::LoggingClock : TrayPicture::Clock;
}

std::string trayTip(const TrayState &state) {
    if (state.linesHeld)
        return TrayTipHolding;
    if (state.paused) {
        switch (*state.paused) {
        case PauseReason::Locked:
            return TrayTipPausedLocked;
        case PauseReason::Asleep:
            return TrayTipPausedAsleep;
        case PauseReason::SwitchedAway:
            return TrayTipPausedSwitchedAway;
        case PauseReason::None:
            break;
        }
    }
    return trayTipText(state.logging, state.intervalSeconds);
}

} // namespace wendle::form
