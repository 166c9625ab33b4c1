#pragma once

#include "form/time_check_form.h"
#include "ui/qt_timer.h"
#include "ui/report_window.h"
#include "ui/tray_icon.h"

#include <QAccessible>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QToolButton;

namespace wendle {

namespace detail {
// Built before the handlers, which drive it.
struct LogTimerHolder {
    QtTimer m_timer;
};
} // namespace detail

// The program's one window, "frmTimeCheck": a fixed layout of the folder,
// the interval slider, Start and Stop, Auto-Start and the recent log.
class LogBoxStandIn;
class SessionWatch;

class MainWindow : public QWidget,
                   private detail::LogTimerHolder,
                   public form::TimeCheckForm,
                   private QAccessible::ActivationObserver {
    Q_OBJECT

public:
    // Where the log files are written: on a thread of their own, so that
    // the window never waits for a disk; or at once, for tests that look
    // at the files and the window right after a click.
    enum class Writing { OnOwnThread, AtOnce };
    explicit MainWindow(const Clock &clock, QWidget *parent = nullptr,
                        Writing writing = Writing::OnOwnThread);
    ~MainWindow() override;

    using form::TimeCheckForm::logging;
    // The logging timer as Qt's, for tests.
    QTimer &logTimer() { return m_timer.qtimer(); }

    // How messages reach the user; tests replace the message box.
    using Reporter = std::function<void(const QString &message)>;
    void setReporter(Reporter reporter) { m_reporter = std::move(reporter); }

    QLabel *lblLogFile;
    QLineEdit *txtLogFile;
    QToolButton *cmdBrowse;
    QLabel *lblTimerInterval;
    QLabel *lblTimerValue;
    QSlider *sldTimerInterval;
    QPushButton *cmdStart;
    QPushButton *cmdStop;
    QCheckBox *chkAutostart;
    QPushButton *cmdShowLog;
    // The recent-log box, "txtLog": made when first needed (see
    // LogBoxStandIn), as this makes it.
    QPlainTextEdit *recentLog();
    QMenu *mnuPopup;
    QAction *mnuPopupReport;
    QAction *mnuPopupLogin;
    QAction *mnuPopupPause;
    QAction *mnuPopupExit;

    // Another start asked for this copy: the window comes back (once loaded),
    // and so does any dialog it has open, in front of it.
    // On Wayland the other start's activation token lets the window come to
    // the front.
    void comeForward(const QString &activationToken = QString());

    // Started minimised (Start at Login): the window stays out of sight, in
    // the tray, or minimised in the taskbar once the desktop says it has no
    // tray.
    void startMinimized();

    // True once the window has been unloaded (closed for good).
    bool isUnloaded() const override { return m_unloaded; }
    TrayIcon &trayIcon() { return m_tray; }
    // Made when it is first asked for: most starts never show it.
    ReportWindow &reportWindow();

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // What the shared handlers ask of Qt.
    std::optional<bool> askAutostart() override;
    void setAutostartChecked(bool checked) override;
    void addTrayIcon() override;
    void removeTrayIcon() override;
    void showFolderText(const std::string &folder) override;
    std::string browseForFolder(const std::string &title) override;
    void restoreWindow() override;
    void showPopupMenu() override;
    void setLook(const form::Look &look) override;
    void showRecentLogText(const std::string &text) override;
    void report(const std::string &message) override;
    void showNotice(const LoggingNotice &notice) override;
    void showInterval(int seconds) override;
    void showTrayState(form::TrayPicture picture, const std::string &tip) override;
    void appendLogNote(const std::string &text) override;
    void watchSession() override;
    void presentReport() override;

private:
    // The icon's menu, also the window's own context menu (and the edit
    // boxes' after their own items), so that no item needs the tray.
    void showWindowMenu(QPoint at, QMenu *before = nullptr, bool byKeyboard = false);
    void showWindowMenuAtFocus();
    void raiseOpenDialog();
    // A minimised window goes into the tray, once a tray shows the icon.
    void hideInTray();
    // Hidden, with the place it comes back to.
    void hideKeepingPlace();
    void createControls();
    void placeControls();
    QPlainTextEdit *makeRecentLog(Qt::FocusReason reason);
    // A screen reader started: it reads the real box.
    void accessibilityActiveChanged(bool active) override;

    QPlainTextEdit *m_recentLog = nullptr;
    LogBoxStandIn *m_logStandIn = nullptr;

    TrayIcon m_tray;
    SessionWatch *m_session = nullptr;
    const Clock &m_clock;
    std::unique_ptr<ReportWindow> m_report;
    Reporter m_reporter;
    std::optional<QPoint> m_hiddenAt;
    bool m_focusSet = false;
    bool m_unloaded = false;
    bool m_waitingForTray = false;
    // Hidden by minimising or a click on the icon: only the tray brings it back.
    bool m_hiddenInTray = false;
    // In the task list since its tray went, and not taken up by the user.
    bool m_outOfTray = false;
};

} // namespace wendle
