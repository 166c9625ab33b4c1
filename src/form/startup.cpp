#include "form/startup.h"

#include "settings/program_settings.h"

namespace wendle::form {

void runStartup(StartupWindow &window, const ProgramSettings &settings) {
    window.setFolderText(settings.logFolder());
    if (window.folderText().empty())
        window.chooseFolder();
    if (window.isUnloaded())
        return;
    if (!window.folderText().empty()) {
        std::int32_t autostart = settings.autostart();
        if (autostart == AutostartUndecided) {
            const std::optional<bool> yes = window.askAutostart();
            if (!yes)
                return;
            autostart = *yes ? 1 : 0;
        }
        // A hand-edited value other than 0 and 1 means on, as it does for
        // starting below: the box shows it checked, which stores 1.
        window.setAutostartChecked(autostart != 0);
        if (autostart != 0)
            window.startLogging();
    }
    window.addTrayIcon();
}

} // namespace wendle::form
