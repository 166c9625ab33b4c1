#include "form/interval_text.h"

#include "form/texts.h"

namespace wendle::form {

std::string intervalShortText(int seconds) {
    return std::to_string(seconds) + " s";
}

std::string intervalSpokenText(int seconds) {
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

std::string trayTipText(bool logging, int seconds) {
    if (!logging)
        return TrayTip;
    return std::string(TrayTip) + ": logging every " + intervalSpokenText(seconds);
}

} // namespace wendle::form
