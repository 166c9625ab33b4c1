#include "form/interval_text.h"

#include "form/texts.h"

namespace wendle::form {

std::string intervalShortText(int seconds) {
    return std::to_string(seconds) + " s";
}

std::string intervalSpokenText(int seconds) {
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

std::string trayTipText(bool logging, int seconds, PauseReason paused) {
    if (!logging)
        return TrayTip;
    switch (paused) {
    case PauseReason::Locked:
        return TrayTipLocked;
    case PauseReason::Asleep:
        return TrayTipAsleep;
    case PauseReason::SwitchedAway:
        return TrayTipSwitchedAway;
    case PauseReason::None:
        break;
    }
    return std::string(TrayTip) + ": logging every " + intervalSpokenText(seconds);
}

} // namespace wendle::form
