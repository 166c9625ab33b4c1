#include "form/time_check_form.h"

#include "form/interval_text.h"
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
            setTrayTip(trayTipText(logging, m_intervalSeconds));
        },
        [this](const std::string &text) { showRecentLogText(text); },
        [this](const std::string &message) { report(message); },
        [this](const LoggingNotice &notice) { showNotice(notice); },
    });
}

void TimeCheckForm::load() {
    runStartup(*this, m_settings);
    m_loaded = true;
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
    m_intervalSeconds = seconds;
    m_logging.setIntervalSeconds(seconds);
    showInterval(seconds);
    setTrayTip(trayTipText(m_logging.isLogging(), seconds));
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
