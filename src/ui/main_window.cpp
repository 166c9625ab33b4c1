#include "ui/main_window.h"

#include "settings/program_settings.h"
#include "settings/registry.h"
#include "ui/caption_font.h"
#include "ui/folder_picker.h"
#include "ui/pictures.h"
#include "ui/system_colors.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace wendle {

namespace {

const QString ApplicationTitle = QStringLiteral("Wendle");

void setForeground(QWidget *widget, QPalette::ColorRole role, quint32 systemCode) {
    // Resolved from the user's scheme, not from the widget's own palette,
    // which already holds the colour of the other look.
    const QColor colour = systemColor(systemCode, QApplication::palette(widget));
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    widget->setPalette(palette);
}

} // namespace

MainWindow::MainWindow(const Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_logging(clock, this), m_tray(clockIcon(), QStringLiteral("Quorvel Wendle"), this) {
    setObjectName(QStringLiteral("frmTimeCheck"));
    setWindowTitle(QStringLiteral("Quorvel Wendle"));
    setWindowIcon(clockIcon());
    createControls();
    placeControls();

    m_report = [this](const QString &message) {
        QMessageBox::warning(this, ApplicationTitle, message);
    };

    connect(cmdStart, &QPushButton::clicked, &m_logging, &LoggingControl::start);
    connect(cmdStop, &QPushButton::clicked, &m_logging, &LoggingControl::stop);
    connect(cmdShowLog, &QPushButton::clicked, &m_logging, &LoggingControl::showRecentLog);
    connect(cmdBrowse, &QToolButton::clicked, this, &MainWindow::chooseFolder);
    // valueChanged comes both for settled changes and while the thumb is
    // dragged, so the interval follows the thumb.
    connect(sldTimerInterval, &QSlider::valueChanged, &m_logging,
            &LoggingControl::setIntervalSeconds);
    connect(txtLogFile, &QLineEdit::textChanged, &m_logging, &LoggingControl::setFolder);
    connect(mnuPopupExit, &QAction::triggered, this, &QWidget::close);
    connect(&m_tray, &TrayIcon::message, this, &MainWindow::trayMessage);
    // Every change of the box's state, by the user or by the program, and
    // none when it is set to the state it already has.
    connect(chkAutostart, &QCheckBox::stateChanged, this, &MainWindow::storeAutostart);
    m_tray.useMenuForMenuOnlyTrays(mnuPopup, mnuPopupExit);
    // Icon messages may also come as mouse moves over the window itself.
    setMouseTracking(true);

    connect(&m_logging, &LoggingControl::loggingChanged, this, &MainWindow::setLook);
    connect(&m_logging, &LoggingControl::recentLogRead, this, &MainWindow::showRecentLogText);
    connect(&m_logging, &LoggingControl::failed, this,
            [this](const QString &message) { m_report(message); });
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    lblLogFile = new QLabel(QStringLiteral("Log Time to this Folder: "), this);
    lblLogFile->setObjectName(QStringLiteral("lblLogFile"));

    txtLogFile = new QLineEdit(this);
    txtLogFile->setObjectName(QStringLiteral("txtLogFile"));
    // Locked: it can be focused, selected and copied, but not typed into.
    txtLogFile->setReadOnly(true);
    {
        QPalette palette = txtLogFile->palette();
        palette.setColor(QPalette::Base, systemColor(SysColor::ButtonFace, palette));
        txtLogFile->setPalette(palette);
    }

    cmdBrowse = new QToolButton(this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setIcon(QIcon(openFolderPixmap(16)));
    cmdBrowse->setIconSize(QSize(16, 16));
    cmdBrowse->setFocusPolicy(Qt::StrongFocus);

    lblTimerInterval = new QLabel(QStringLiteral("Time Check Frequency "), this);
    lblTimerInterval->setObjectName(QStringLiteral("lblTimerInterval"));

    sldTimerInterval = new QSlider(Qt::Horizontal, this);
    sldTimerInterval->setObjectName(QStringLiteral("sldTimerInterval"));
    sldTimerInterval->setRange(1, 60);
    sldTimerInterval->setValue(LoggingControl::DefaultIntervalMs / 1000);
    sldTimerInterval->setSingleStep(1);
    sldTimerInterval->setPageStep(5);
    sldTimerInterval->setTickInterval(5);
    sldTimerInterval->setTickPosition(QSlider::TicksBelow);
    sldTimerInterval->setTracking(true);

    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStop = new QPushButton(QStringLiteral("Stop"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setEnabled(false);

    chkAutostart = new QCheckBox(QStringLiteral("Auto-Start "), this);
    chkAutostart->setObjectName(QStringLiteral("chkAutostart"));

    cmdShowLog = new QPushButton(QStringLiteral("Show Recent Log  "), this);
    cmdShowLog->setObjectName(QStringLiteral("cmdShowLog"));

    txtLog = new QPlainTextEdit(this);
    txtLog->setObjectName(QStringLiteral("txtLog"));
    txtLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtLog->setTabChangesFocus(true);

    for (QPushButton *button : {cmdStart, cmdStop, cmdShowLog}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    mnuPopup = new QMenu(QStringLiteral("Popup"), this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    mnuPopupExit = mnuPopup->addAction(QStringLiteral("E&xit"));
    mnuPopupExit->setObjectName(QStringLiteral("mnuPopupExit"));

    setTabOrder(txtLogFile, cmdBrowse);
    setTabOrder(cmdBrowse, cmdShowLog);
    setTabOrder(cmdShowLog, txtLog);
    setTabOrder(txtLog, cmdStart);
    setTabOrder(cmdStart, cmdStop);
    setTabOrder(cmdStop, sldTimerInterval);
    setTabOrder(sldTimerInterval, chkAutostart);
}

void MainWindow::placeControls() {
    const QScreen *screen = this->screen();
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96.0;

    struct Place {
        QWidget *widget;
        int left, top, width, height;
    };
    const Place places[] = {
        {lblLogFile, 60, 120, 2415, 195},       {txtLogFile, 60, 360, 3495, 315},
        {cmdBrowse, 3600, 360, 315, 315},       {lblTimerInterval, 120, 780, 2595, 195},
        {sldTimerInterval, 60, 960, 3855, 195}, {cmdStart, 75, 1440, 1875, 315},
        {cmdStop, 2130, 1440, 1800, 315},       {chkAutostart, 120, 1800, 1035, 195},
        {cmdShowLog, 2100, 1920, 1815, 315},    {txtLog, 90, 2280, 3825, 2715},
    };
    for (const Place &place : places)
        place.widget->setGeometry(twipsRect(place.left, place.top, place.width, place.height, dpi));

    const QSize client(twipsToPixels(ClientWidthTwips, dpi), twipsToPixels(ClientHeightTwips, dpi));
    setFixedSize(client);
    // Without a window manager's say, the client area's corner goes here.
    setGeometry(QRect(QPoint(twipsToPixels(LeftTwips, dpi), twipsToPixels(TopTwips, dpi)), client));

    setFont(fittingCaptionFont(
        {lblLogFile, lblTimerInterval, cmdStart, cmdStop, chkAutostart, cmdShowLog}, font()));
}

void MainWindow::setLook(bool logging) {
    cmdStart->setEnabled(!logging);
    cmdStop->setEnabled(logging);
    const quint32 colour = logging ? SysColor::ButtonShadow : SysColor::WindowText;
    setForeground(lblLogFile, QPalette::WindowText, colour);
    setForeground(txtLogFile, QPalette::Text, colour);
    cmdBrowse->setEnabled(!logging);
}

void MainWindow::showRecentLogText(const QString &text) {
    // The file's lines end in CR LF; the view wants plain line feeds.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtLog->setPlainText(shown);
    QTextCursor cursor = txtLog->textCursor();
    cursor.movePosition(QTextCursor::End);
    txtLog->setTextCursor(cursor);
    // The caret sits on the empty line after the last CR LF; show the very end.
    txtLog->verticalScrollBar()->setValue(txtLog->verticalScrollBar()->maximum());
}

void MainWindow::chooseFolder() {
    const QString folder = BrowseForFolder(
        this, QStringLiteral("Select the Folder to store wendle files in"), QString(), true);
    if (folder.isEmpty())
        return;
    txtLogFile->setText(folder);
    // Stored again even when it is the folder already set.
    SaveSettingString(HKEY_LOCAL_MACHINE, SettingsKey, LogFolderValue, txtLogFile->text(),
                      QString());
}

void MainWindow::load() {
    txtLogFile->setText(
        GetSettingString(HKEY_LOCAL_MACHINE, SettingsKey, LogFolderValue, QString()));
    if (txtLogFile->text().isEmpty())
        chooseFolder();
    if (m_unloaded)
        return;
    if (!txtLogFile->text().isEmpty()) {
        qint32 autostart = GetSettingDword(HKEY_LOCAL_MACHINE, SettingsKey, AutostartValue, -1);
        if (autostart == -1) {
            QMessageBox question(QMessageBox::NoIcon, ApplicationTitle,
                                 QStringLiteral("Do you want to start logging automatically?"),
                                 QMessageBox::Yes | QMessageBox::No, this);
            question.setObjectName(QStringLiteral("autostartQuestion"));
            const int answer = question.exec();
            if (m_unloaded)
                return;
            autostart = answer == QMessageBox::Yes ? 1 : 0;
        }
        // A hand-edited value other than 0 and 1 means on, as it does for
        // starting below: the box shows it checked, which stores 1.
        chkAutostart->setChecked(autostart != 0);
        if (autostart != 0)
            m_logging.start();
    }
    AddTrayIcon();
}

void MainWindow::storeAutostart(int state) {
    SaveSettingDword(HKEY_LOCAL_MACHINE, SettingsKey, AutostartValue, state == Qt::Checked ? 1 : 0,
                     -1);
}

void MainWindow::AddTrayIcon() {
    m_tray.add();
}

void MainWindow::RemoveTrayIcon() {
    m_tray.remove();
}

void MainWindow::trayMessage(int message) {
    switch (decodeTrayMessage(message)) {
    case TrayAction::RestoreWindow:
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
        break;
    case TrayAction::ShowPopupMenu:
        mnuPopup->popup(QCursor::pos());
        break;
    case TrayAction::None:
        break;
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent *event) {
    // In twips, as the icon's messages used to arrive: x is the message
    // number in pixels. The window is far narrower than any message, so
    // real movement over it decodes to nothing.
    const qreal dpi = screen() ? screen()->logicalDotsPerInchX() : 96.0;
    const int twipsPerPixel = qRound(1440.0 / dpi);
    const int x = qRound(event->position().x() * 1440.0 / dpi);
    trayMessage(x / qMax(1, twipsPerPixel));
    QWidget::mouseMoveEvent(event);
}

void MainWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Hidden, the window can only come back through the icon: without a
    // tray to show it, it stays minimised in the taskbar instead.
    if (!m_tray.isShown())
        return;
    QTimer::singleShot(0, this, [this] {
        if (windowState() & Qt::WindowMinimized)
            hide();
    });
}

void MainWindow::closeEvent(QCloseEvent *event) {
    // Unloading is never refused: the log file is closed, the icon removed,
    // and the program ends, even from within a dialog's own event loop.
    if (m_logging.isLogging())
        m_logging.stop();
    RemoveTrayIcon();
    event->accept();
    if (!m_unloaded) {
        m_unloaded = true;
        QCoreApplication::exit(0);
    }
}

void MainWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!m_focusSet) {
        m_focusSet = true;
        txtLogFile->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace wendle
