#pragma once

#include "logging/clock.h"
#include "logging/logging_control.h"
#include "ui/tray_icon.h"

#include <QWidget>

#include <functional>

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

// The program's one window, "frmTimeCheck": a fixed layout of the folder,
// the interval slider, Start and Stop, Auto-Start and the recent log.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int ClientWidthTwips = 4005;
    static constexpr int ClientHeightTwips = 5085;
    static constexpr int LeftTwips = 6570;
    static constexpr int TopTwips = 2625;

    explicit MainWindow(const Clock &clock, QWidget *parent = nullptr);
    ~MainWindow() override;

    LoggingControl &logging() { return m_logging; }

    // How messages reach the user; tests replace the message box.
    using Reporter = std::function<void(const QString &message)>;
    void setReporter(Reporter reporter) { m_report = std::move(reporter); }

    QLabel *lblLogFile;
    QLineEdit *txtLogFile;
    QToolButton *cmdBrowse;
    QLabel *lblTimerInterval;
    QSlider *sldTimerInterval;
    QPushButton *cmdStart;
    QPushButton *cmdStop;
    QCheckBox *chkAutostart;
    QPushButton *cmdShowLog;
    QPlainTextEdit *txtLog;
    QMenu *mnuPopup;
    QAction *mnuPopupExit;

    // The start-up sequence, run once before the window is first shown: the
    // remembered folder (or the folder choice when there is none), the
    // auto-start question while it was never answered, Start when auto-start
    // is on, and last the tray icon.
    void load();

    // True once the window has been unloaded (closed for good).
    bool isUnloaded() const { return m_unloaded; }
    TrayIcon &trayIcon() { return m_tray; }

public slots:
    void chooseFolder();
    // An icon message: left button down or double click restores the
    // window, right button down shows the pop-up menu, the rest do nothing.
    void trayMessage(int message);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void storeAutostart(int state);
    void AddTrayIcon();
    void RemoveTrayIcon();

    void createControls();
    void placeControls();
    void setLook(bool logging);
    void showRecentLogText(const QString &text);

    LoggingControl m_logging;
    TrayIcon m_tray;
    Reporter m_report;
    bool m_focusSet = false;
    bool m_unloaded = false;
};

} // namespace wendle
