#pragma once

#include <optional>
#include <string>

namespace wendle {
class ProgramSettings;
}

namespace wendle::form {

// What the start-up sequence needs of the main window.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    virtual std::string folderText() const = 0;
    virtual void setFolderText(const std::string &folder) = 0;
    // The browse button's folder choice.
    virtual void chooseFolder() = 0;
    // Yes or No to the auto-start question; nothing when the window was
    // unloaded while it was asked.
    virtual std::optional<bool> askAutostart() = 0;
    // Like the user's click, a change of the box stores the choice.
    virtual void setAutostartChecked(bool checked) = 0;
    virtual void startLogging() = 0;
    virtual void addTrayIcon() = 0;
    virtual bool isUnloaded() const = 0;
};

// Run once as the window loads, before it is first shown: the remembered
// folder (or the folder choice when there is none), the auto-start question
// while it was never answered, Start when auto-start is on, and last the
// tray icon.
void runStartup(StartupWindow &window, const ProgramSettings &settings);

} // namespace wendle::form
