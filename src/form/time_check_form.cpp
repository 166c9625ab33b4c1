#include "form/time_check_form.h"

#include "form/looks.h"
#include "form/texts.h"
#include "form/tray_messages.h"

namespace wendle::form {

TimeCheckForm::TimeCheckForm(const Clock &clock, Timer &timer, Registry &registry,
                             PostToWindow postToWindow)
    : m_settings(registry),
      m_logging(clock, timer, systemLogStore(), heldLinesPath(), std::move(postToWindow)) {
    m_logging.setListener({
        [this](bool logging) {
            setLook(lookFor(logging));
            TrayState next = m_tray;
            next.logging = logging;
            updateTray(next);
        },
        [this](const std::string &text) {
            // The notes about pauses follow the file's tail: they are the
            // program's, never lines of the file.
            std::string notes = m_logging.pauseNotes(m_logging.clock().now().date);
            for (std::size_t at = notes.find('\n'); at != std::string::npos;
                 at = notes.find('\n', at + 2))
                notes.replace(at, 1, "\r\n");
            showRecentLogText(text + notes);
        },
        [this](const std::string &message) { report(message); },
        [this](const LoggingNotice &notice) {
            // Every notice tells whether lines are held at this moment.
            TrayState next = m_tray;
            next.linesHeld = notice.trouble;
            updateTray(next);
            showNotice(notice);
        },
        [this](PauseReason reason, const std::string &note) {
            setPaused(reason == PauseReason::None ? std::nullopt : std::optional(reason));
            if (!note.empty())
                appendLogNote(note);
        },
    });
}

void TimeCheckForm::load() {
    // Before an automatic Start, which may find the session locked.
    if (m_settings.pauseWhileLocked())
        pauseWhileLockedChosen(true);
    runStartup(*this, m_settings);
    m_loaded = true;
}

void TimeCheckForm::pauseWhileLockedChosen(bool on) {
    if (on != m_settings.pauseWhileLocked())
        m_settings.setPauseWhileLocked(on);
    m_pauseWhileLocked = on;
    if (on)
        watchSession();
    m_logging.setPauseWhileLocked(on);
}

void TimeCheckForm::reportChosen() {
    m_extraReportFolders = m_settings.extraReportFolders();
    presentReport();
}

void TimeCheckForm::bringForward() {
    if (m_loaded && !isUnloaded())
        restoreWindow();
}

void TimeCheckForm::startAtLoginChosen(bool on) {
    std::string reason;
    if (!m_loginStart.setEnabled(on, reason))
        report(std::string(on ? "Could not make the entry that starts Wendle at login\n"
                              : "Could not remove the entry that starts Wendle at login\n") +
               m_loginStart.location() + "\n" + reason);
}

void TimeCheckForm::setFolderText(const std::string &folder) {
    m_logging.setFolder(folder);
    showFolderText(folder);
}

void TimeCheckForm::chooseFolder() {
    const std::string folder = browseForFolder(BrowseTitle);
    if (folder.empty())
        return;
    setFolderText(folder);
    m_settings.setLogFolder(folderText());
}

void TimeCheckForm::autostartChanged(bool checked) {
    m_settings.setAutostart(checked);
}

void TimeCheckForm::intervalChosen(int seconds) {
    m_logging.setIntervalSeconds(seconds);
    showInterval(seconds);
    TrayState next = m_tray;
    next.intervalSeconds = seconds;
    updateTray(next);
}

void TimeCheckForm::setPaused(std::optional<PauseReason> reason) {
    TrayState next = m_tray;
    next.paused = reason;
    updateTray(next);
}

void TimeCheckForm::updateTray(TrayState next) {
    m_tray = next;
    showTrayState(trayPicture(m_tray), trayTip(m_tray));
}

void TimeCheckForm::trayMessage(int message) {
    switch (decodeTrayMessage(message)) {
    case TrayAction::RestoreWindow:
        restoreWindow();
        break;
    case TrayAction::ShowPopupMenu:
        showPopupMenu();
        break;
    case TrayAction::None:
        break;
    }
}

void TimeCheckForm::unload() {
    if (m_logging.isLogging())
        m_logging.stop();
    else
        m_logging.keepHeld();
    removeTrayIcon();
}

} // namespace wendle::form
