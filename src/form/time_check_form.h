#pragma once

#include "form/looks.h"
#include "form/startup.h"
#include "form/tray_state.h"
#include "logging/logging_control.h"
#include "settings/login_start.h"
#include "settings/program_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace wendle::form {

// The handlers of the program's one window, "frmTimeCheck", written once for
// every toolkit: each front end draws the controls and fills in the few
// things below that only a toolkit can do.
class TimeCheckForm : public StartupWindow {
public:
    // The timer must outlive the form; the settings are the registry's.
    // postToWindow runs a function on the window's thread through the
    // toolkit's event loop: the files are then written on a thread of their
    // own, so that the window never waits for a disk. Without it they are
    // written at once, as tests want.
    TimeCheckForm(const Clock &clock, Timer &timer, Registry &registry = systemRegistry(),
                  PostToWindow postToWindow = {});

    LoggingControl &logging() { return m_logging; }

    // The window's load: the start-up sequence.
    void load();
    bool isLoaded() const { return m_loaded; }
    // Another start of the program asked for this one: the window comes
    // back, once it has loaded.
    void bringForward();
    // The "Start at Login" menu item: whether the entry is there, and the
    // user's choice, told when it cannot be carried out.
    bool startsAtLogin() const { return m_loginStart.enabled(); }
    void startAtLoginChosen(bool on);
    // The "Pause While Locked" menu item: stored, and logging follows it.
    bool pausesWhileLocked() const { return m_pauseWhileLocked; }
    void pauseWhileLockedChosen(bool on);
    // The browse button: a chosen folder is shown and stored, even when it
    // is the one already set; a cancelled choice changes nothing.
    void chooseFolder() override;
    // Every change of the Auto-Start box, by the user or by the program.
    void autostartChanged(bool checked);
    // The slider moved, or is being dragged: the timer, the interval shown
    // beside the slider and the icon's tip follow it.
    void intervalChosen(int seconds);
    // Logging waits for the user to come back (a reason), or goes on
    // (nothing): the icon says which.
    void setPaused(std::optional<PauseReason> reason);
    // What the icon tells now; its picture and tip are made from this.
    const TrayState &trayState() const { return m_tray; }
    // An icon message: left button down or double click restores the
    // window, right button down shows the pop-up menu, the rest do nothing.
    void trayMessage(int message);
    // Unloading is never refused: logging stops, the log file is closed and
    // the icon removed.
    void unload();

    // The folders the report reads: the log folder, then the extra ones
    // stored, as they were when the report was last asked for.
    std::vector<std::string> reportFolders() const {
        return wendle::reportFolders(m_logging.folder(), m_extraReportFolders);
    }
    // Report… in the icon's menu: the stored folders read again, the window shown.
    void reportChosen();

    std::string folderText() const override { return m_logging.folder(); }
    void setFolderText(const std::string &folder) override;
    void startLogging() override { m_logging.start(); }

protected:
    // What only the toolkit can do.
    virtual void showFolderText(const std::string &folder) = 0;
    // The folder browser, modal to the window: the chosen folder cleaned up
    // by cleanFolderPath, or nothing.
    virtual std::string browseForFolder(const std::string &title) = 0;
    virtual void removeTrayIcon() = 0;
    virtual void restoreWindow() = 0;
    virtual void showPopupMenu() = 0;
    virtual void setLook(const Look &look) = 0;
    // Replaces the recent-log view's text (UTF-8, CR LF lines) and shows its end.
    virtual void showRecentLogText(const std::string &text) = 0;
    virtual void report(const std::string &message) = 0;
    // Lines are held, or written again: told in the window and in a desktop
    // notification (or the icon's balloon), without waiting for the user.
    // The icon's picture and tip follow through showTrayState.
    virtual void showNotice(const LoggingNotice &notice) = 0;
    // The interval beside the slider and the slider's spoken value.
    virtual void showInterval(int seconds) = 0;
    // The icon shows this picture and tip from now on, also when it is made
    // again (a tray that starts again); called on every change.
    virtual void showTrayState(TrayPicture picture, const std::string &tip) = 0;
    // A line of the program's own below the recent log (UTF-8, no line end).
    virtual void appendLogNote(const std::string &text) = 0;
    // Pause While Locked is on: the toolkit listens to the session from now.
    virtual void watchSession() = 0;
    // Shows the report window in front, reading the days again.
    virtual void presentReport() = 0;

private:
    void updateTray(TrayState next);

    ProgramSettings m_settings;
    std::vector<std::string> m_extraReportFolders;
    LoggingControl m_logging;
    LoginStart m_loginStart;
    TrayState m_tray{false, LoggingControl::DefaultIntervalMs / 1000, false, std::nullopt};
    bool m_loaded = false;
    bool m_pauseWhileLocked = false;
};

} // namespace wendle::form
