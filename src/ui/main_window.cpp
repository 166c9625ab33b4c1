#include "ui/main_window.h"

#include "form/contrast.h"
#include "form/font_scale.h"
#include "form/interval_text.h"
#include "form/layout.h"
#include "form/recent_log_text.h"
#include "form/texts.h"
#include "form/tray_messages.h"
#include "ui/caption_font.h"
#include "ui/checkable_menu_item.h"
#include "ui/folder_picker.h"
#include "ui/log_box_stand_in.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"
#include "ui/read_only_line.h"
#include "ui/session_watch.h"
#include "ui/spoken_value.h"
#include "ui/system_colors.h"
#include "ui/twips.h"
#include "ui/window_frames.h"
#include "ui/x11_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace wendle {

namespace {

// Calls back once, at the user's first key or click anywhere in the program.
class FirstInput : public QObject {
public:
    FirstInput(QObject *parent, std::function<void()> seen)
        : QObject(parent), m_seen(std::move(seen)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (m_seen &&
            (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
            std::exchange(m_seen, nullptr)();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_seen;
};

const QString ApplicationTitle = QString::fromLatin1(form::ApplicationTitle);

QString caption(const char *name) {
    return qt(std::string(form::controlPlace(name).caption));
}

// A label's words as the name of the control it labels.
QString spokenCaption(const char *name) {
    return caption(name).trimmed();
}

quint32 rgbOf(const QColor &colour) {
    return colour.rgb() & 0xFFFFFF;
}

void setForeground(QWidget *widget, QPalette::ColorRole role, QPalette::ColorRole background,
                   quint32 systemCode) {
    // Resolved from the user's scheme, not from the widget's own palette,
    // which already holds the colour of the other look.
    const QPalette scheme = QApplication::palette(widget);
    QColor colour = systemColor(systemCode, scheme);
    if (systemCode == SysColor::ButtonShadow) {
        // Greyed as the scheme greys text, which its shadow colour is not in
        // every scheme, and never so faint that the folder cannot be read.
        colour = QColor::fromRgb(
            form::readableGrey(rgbOf(scheme.color(QPalette::Disabled, role)),
                               rgbOf(scheme.color(QPalette::Active, role)),
                               rgbOf(widget->palette().color(QPalette::Active, background))));
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
    widget->setPalette(palette);
}

// A queued call runs on the window's thread, and not at all once the window
// is gone.
PostToWindow postingTo(QObject *window, MainWindow::Writing writing) {
    if (writing == MainWindow::Writing::AtOnce)
        return {};
    return [window](std::function<void()> event) {
        QMetaObject::invokeMethod(window, std::move(event), Qt::QueuedConnection);
    };
}

} // namespace

MainWindow::MainWindow(const Clock &clock, QWidget *parent, Writing writing)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      form::TimeCheckForm(clock, m_timer, systemRegistry(), postingTo(this, writing)),
      m_tray(clockIcon(), loggingClockIcon(), pausedClockIcon(), this), m_clock(clock) {
    setObjectName(QStringLiteral("frmTimeCheck"));
    readCheckableMenuItemsAsCheckBoxes();
    readWindowsAsFrames();
    setWindowTitle(QString::fromLatin1(form::WindowCaption));
    setWindowIcon(clockIcon());
    createControls();
    placeControls();

    m_reporter = [this](const QString &message) {
        QMessageBox::warning(this, ApplicationTitle, message);
    };

    connect(cmdStart, &QPushButton::clicked, this, [this] { logging().start(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { logging().stop(); });
    connect(cmdShowLog, &QPushButton::clicked, this, [this] { logging().showRecentLog(); });
    connect(cmdBrowse, &QToolButton::clicked, this, [this] { chooseFolder(); });
    // valueChanged comes both for settled changes and while the thumb is
    // dragged, so the interval follows the thumb.
    connect(sldTimerInterval, &QSlider::valueChanged, this,
            [this](int seconds) { intervalChosen(seconds); });
    connect(txtLogFile, &QLineEdit::textChanged, this,
            [this](const QString &text) { logging().setFolder(utf8(text)); });
    connect(mnuPopupReport, &QAction::triggered, this, [this] { reportChosen(); });
    connect(mnuPopupLogin, &QAction::triggered, this, [this](bool on) {
        startAtLoginChosen(on);
        mnuPopupLogin->setChecked(startsAtLogin());
    });
    connect(mnuPopupPause, &QAction::triggered, this, [this](bool on) {
        pauseWhileLockedChosen(on);
        mnuPopupPause->setChecked(pausesWhileLocked());
    });
    connect(mnuPopupExit, &QAction::triggered, this, &QWidget::close);
    connect(&m_tray, &TrayIcon::message, this, [this](int message) {
        // Wayland never tells a window it was minimised, so it cannot hide
        // in the tray by itself: there a click on the icon hides a shown
        // window and shows a hidden one.
        if (message == form::TrayLeftButtonDown && isVisible() && !isMinimized() &&
            QGuiApplication::platformName() == QLatin1String("wayland")) {
            hideKeepingPlace();
            return;
        }
        trayMessage(message);
    });
    // Minimised for want of a tray, the window now hides in the one that came.
    connect(&m_tray, &TrayIcon::trayAppeared, this, [this] {
        m_waitingForTray = false;
        // Out of a tray that went, and not taken up since: back into it, also
        // where the window manager mapped it as a normal window instead of
        // minimising it (GNOME Shell at the first lock of a session).
        if (std::exchange(m_outOfTray, false) && !isHidden() && !m_unloaded) {
            m_hiddenInTray = true;
            hide();
            return;
        }
        hideInTray();
    });
    // Hidden in a tray that has gone, the window would be out of reach: it
    // goes into the task list, at the place it hid from, and hides again
    // once a tray comes, unless the user takes it up meanwhile.
    connect(&m_tray, &TrayIcon::trayVanished, this, [this] {
        if (!std::exchange(m_hiddenInTray, false) || !isHidden() || m_unloaded)
            return;
        m_outOfTray = true;
        new FirstInput(this, [this] { m_outOfTray = false; });
        showMinimized();
        if (m_hiddenAt)
            move(*m_hiddenAt);
    });
    connect(&m_tray, &TrayIcon::trayAbsent, this, [this] {
        if (std::exchange(m_waitingForTray, false) && isHidden())
            showMinimized();
    });
    // Every change of the box's state, by the user or by the program, and
    // none when it is set to the state it already has.
    connect(chkAutostart, &QCheckBox::stateChanged, this,
            [this](int state) { autostartChanged(state == Qt::Checked); });
    m_tray.useMenuForMenuOnlyTrays(mnuPopup,
                                   {mnuPopupReport, mnuPopupLogin, mnuPopupPause, mnuPopupExit});
    // The entry may have been made or removed by hand meanwhile.
    const auto showLoginState = [this] {
        mnuPopupLogin->setChecked(startsAtLogin());
        mnuPopupPause->setChecked(pausesWhileLocked());
    };
    // Trays that show the menu as their own read it before it is opened.
    showLoginState();
    connect(mnuPopup, &QMenu::aboutToShow, this, showLoginState);
    connect(m_tray.hostMenu(), &QMenu::aboutToShow, this, showLoginState);
    // Shift+F10 and the Menu key open the window's menu, as a right click does.
    for (const QKeySequence &key :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &MainWindow::showWindowMenuAtFocus);
    }
    // Icon messages may also come as mouse moves over the window itself.
    setMouseTracking(true);
    // A screen reader reads the real box, from the start or once it starts.
    if (QAccessible::isActive())
        recentLog();
    else
        QAccessible::installActivationObserver(this);
}

MainWindow::~MainWindow() {
    QAccessible::removeActivationObserver(this);
}

void MainWindow::createControls() {
    lblLogFile = new QLabel(caption("lblLogFile"), this);
    lblLogFile->setObjectName(QStringLiteral("lblLogFile"));

    txtLogFile = new QLineEdit(this);
    readLockedLineWhole(txtLogFile);
    txtLogFile->setObjectName(QStringLiteral("txtLogFile"));
    // Locked: it can be focused, selected and copied, but not typed into.
    txtLogFile->setReadOnly(true);
    txtLogFile->setAccessibleName(spokenCaption("lblLogFile"));
    lblLogFile->setBuddy(txtLogFile);
    {
        QPalette palette = txtLogFile->palette();
        palette.setColor(QPalette::Base, systemColor(SysColor::ButtonFace, palette));
        txtLogFile->setPalette(palette);
    }

    cmdBrowse = new QToolButton(this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    {
        // The picture grows with the screen's resolution, as the button does.
        const QScreen *screen = this->screen();
        const int side = twipsToPixels(240, screen ? screen->logicalDotsPerInchX() : 96.0);
        cmdBrowse->setIconSize(QSize(side, side));
        cmdBrowse->setIcon(QIcon(
            openFolderPixmap().scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    cmdBrowse->setFocusPolicy(Qt::StrongFocus);
    cmdBrowse->setAccessibleName(QString::fromUtf8(form::BrowseAccessibleName));

    lblTimerInterval = new QLabel(caption("lblTimerInterval"), this);
    lblTimerInterval->setObjectName(QStringLiteral("lblTimerInterval"));
    lblTimerValue = new QLabel(this);
    lblTimerValue->setObjectName(QStringLiteral("lblTimerValue"));
    lblTimerValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    sldTimerInterval = new QSlider(Qt::Horizontal, this);
    // Before anything reads it: its value is heard in words.
    setSpokenValue(sldTimerInterval, QString());
    sldTimerInterval->setObjectName(QStringLiteral("sldTimerInterval"));
    sldTimerInterval->setRange(form::IntervalMin, form::IntervalMax);
    sldTimerInterval->setValue(LoggingControl::DefaultIntervalMs / 1000);
    sldTimerInterval->setSingleStep(form::IntervalSmallStep);
    sldTimerInterval->setPageStep(form::IntervalLargeStep);
    sldTimerInterval->setTickInterval(form::IntervalTickEvery);
    sldTimerInterval->setTickPosition(QSlider::TicksBelow);
    sldTimerInterval->setTracking(true);
    sldTimerInterval->setAccessibleName(spokenCaption("lblTimerInterval"));
    lblTimerInterval->setBuddy(sldTimerInterval);
    showInterval(sldTimerInterval->value());

    cmdStart = new QPushButton(caption("cmdStart"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStop = new QPushButton(caption("cmdStop"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    cmdStop->setEnabled(false);

    chkAutostart = new QCheckBox(caption("chkAutostart"), this);
    chkAutostart->setObjectName(QStringLiteral("chkAutostart"));

    cmdShowLog = new QPushButton(caption("cmdShowLog"), this);
    cmdShowLog->setObjectName(QStringLiteral("cmdShowLog"));

    m_logStandIn = new LogBoxStandIn(this);
    m_logStandIn->setObjectName(QStringLiteral("txtLog"));
    connect(m_logStandIn, &LogBoxStandIn::needed, this,
            [this](Qt::FocusReason reason) { makeRecentLog(reason); });
    connect(m_logStandIn, &LogBoxStandIn::menuAsked, this,
            [this](QPoint at) { showWindowMenu(at, recentLog()->createStandardContextMenu()); });
    connect(txtLogFile, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        showWindowMenu(txtLogFile->mapToGlobal(at), txtLogFile->createStandardContextMenu());
    });
    txtLogFile->setContextMenuPolicy(Qt::CustomContextMenu);
    txtLogFile->installEventFilter(this);

    for (QPushButton *button : {cmdStart, cmdStop, cmdShowLog}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    // Enter presses the focused button as Space does; no button is the
    // window's default, so Enter elsewhere still does nothing.
    for (QAbstractButton *button :
         {static_cast<QAbstractButton *>(cmdBrowse), static_cast<QAbstractButton *>(cmdStart),
          static_cast<QAbstractButton *>(cmdStop), static_cast<QAbstractButton *>(cmdShowLog)})
        button->installEventFilter(this);

    mnuPopup = new QMenu(QString::fromLatin1(form::PopupMenuCaption), this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    mnuPopupReport = mnuPopup->addAction(QString::fromUtf8(form::ReportCaption));
    mnuPopupReport->setObjectName(QStringLiteral("mnuPopupReport"));
    mnuPopupLogin = mnuPopup->addAction(QString::fromLatin1(form::StartAtLoginCaption));
    mnuPopupLogin->setObjectName(QStringLiteral("mnuPopupLogin"));
    mnuPopupLogin->setCheckable(true);
    mnuPopupPause = mnuPopup->addAction(QString::fromLatin1(form::PauseWhileLockedCaption));
    mnuPopupPause->setObjectName(QStringLiteral("mnuPopupPause"));
    mnuPopupPause->setCheckable(true);
    mnuPopupExit = mnuPopup->addAction(QString::fromLatin1(form::ExitCaption));
    mnuPopupExit->setObjectName(QStringLiteral("mnuPopupExit"));

    setTabOrder(txtLogFile, cmdBrowse);
    setTabOrder(cmdBrowse, cmdShowLog);
    setTabOrder(cmdShowLog, m_logStandIn);
    setTabOrder(m_logStandIn, cmdStart);
    setTabOrder(cmdStart, cmdStop);
    setTabOrder(cmdStop, sldTimerInterval);
    setTabOrder(sldTimerInterval, chkAutostart);
}

void MainWindow::placeControls() {
    const QScreen *screen = this->screen();
    // Larger for a font larger than the default, so its captions fit whole.
    const QFont userFont = QApplication::font();
    const qreal dpi = (screen ? screen->logicalDotsPerInchX() : 96.0) *
                      form::fontScale(userFont.pointSizeF(), form::DefaultFontPoints);

    for (const form::ControlPlace &place : form::Controls) {
        auto *widget = findChild<QWidget *>(qt(std::string(place.name)));
        widget->setGeometry(twipsRect(place.left, place.top, place.width, place.height, dpi));
    }

    const QSize client(twipsToPixels(form::ClientWidthTwips, dpi),
                       twipsToPixels(form::ClientHeightTwips, dpi));
    setFixedSize(client);
    // Without a window manager's say, the client area's corner goes here;
    // on a screen too small for that, as far in as the window fits.
    QRect place(QPoint(twipsToPixels(form::LeftTwips, dpi), twipsToPixels(form::TopTwips, dpi)),
                client);
    if (screen) {
        const QRect available = screen->availableGeometry();
        // The frame is not known before the window shows: a title bar above.
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const form::Area kept = form::keptOnScreen(
            {place.x(), place.y() - title, place.width(), place.height() + title},
            {available.x(), available.y(), available.width(), available.height()});
        place.moveTopLeft(QPoint(kept.left, kept.top + title));
    }
    setGeometry(place);

    // The window's text is shaped (the font's rules for joining and placing
    // glyphs run) only in scripts that need it: Latin captions, paths and
    // times of day do not, and shaping them would cost every start the
    // shaper's code.
    QFont text = font();
    text.setStyleStrategy(QFont::PreferNoShaping);
    setFont(fittingCaptionFont(*this, text));
}

QPlainTextEdit *MainWindow::recentLog() {
    return m_recentLog ? m_recentLog : makeRecentLog(Qt::OtherFocusReason);
}

QPlainTextEdit *MainWindow::makeRecentLog(Qt::FocusReason reason) {
    if (m_recentLog)
        return m_recentLog;
    m_recentLog = new QPlainTextEdit(this);
    m_recentLog->setObjectName(QStringLiteral("txtLog"));
    m_recentLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_recentLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_recentLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_recentLog->setTabChangesFocus(true);
    m_recentLog->setAccessibleName(QString::fromLatin1(form::RecentLogAccessibleName));
    m_recentLog->setAccessibleDescription(QString::fromLatin1(form::RecentLogDescription));
    m_recentLog->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_recentLog, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        showWindowMenu(m_recentLog->viewport()->mapToGlobal(at),
                       m_recentLog->createStandardContextMenu());
    });
    // In the stand-in's place, in the window and in the tab order.
    m_recentLog->setGeometry(m_logStandIn->geometry());
    setTabOrder(cmdShowLog, m_recentLog);
    setTabOrder(m_recentLog, cmdStart);
    m_recentLog->setVisible(m_logStandIn->isVisibleTo(this));
    // The focus goes straight on, as if the box had always been there.
    if (m_logStandIn->hasFocus())
        m_recentLog->setFocus(reason);
    m_logStandIn->setObjectName(QString());
    m_logStandIn->hide();
    // It may be calling from one of its own events.
    m_logStandIn->deleteLater();
    m_logStandIn = nullptr;
    QAccessible::removeActivationObserver(this);
    return m_recentLog;
}

void MainWindow::accessibilityActiveChanged(bool active) {
    // Not from within the accessibility bridge's own call.
    if (active)
        QTimer::singleShot(0, this, [this] { recentLog(); });
}

void MainWindow::setLook(const form::Look &look) {
    // Start and Stop hand the focus to each other, so the next key does what
    // the user expects and a screen reader tells what just happened;
    // disabling the focused button would otherwise send it to the slider.
    if (cmdStart->hasFocus() || cmdStop->hasFocus()) {
        QPushButton *next = look.startEnabled ? cmdStart : cmdStop;
        next->setEnabled(true);
        next->setFocus(Qt::OtherFocusReason);
    }
    cmdStart->setEnabled(look.startEnabled);
    cmdStop->setEnabled(look.stopEnabled);
    setForeground(lblLogFile, QPalette::WindowText, QPalette::Window, look.folderColor);
    setForeground(txtLogFile, QPalette::Text, QPalette::Base, look.folderColor);
    cmdBrowse->setEnabled(look.browseEnabled);
}

void MainWindow::showRecentLogText(const std::string &text) {
    // The file's lines end in CR LF; the view wants plain line feeds.
    QString shown = qt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QPlainTextEdit *box = recentLog();
    box->setPlainText(shown);
    // The caret at the end of the newest line, not on the empty one after
    // the last CR LF, so that arriving in the box reads that line; the view
    // shows the very end.
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::End);
    if (cursor.block().text().isEmpty() && cursor.block().previous().isValid())
        cursor.movePosition(QTextCursor::PreviousCharacter);
    box->setTextCursor(cursor);
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    // What Show Recent Log did, heard on arriving in the box.
    box->setAccessibleDescription(qt(form::recentLogDescription(text)));
}

void MainWindow::report(const std::string &message) {
    m_reporter(qt(message));
}

void MainWindow::showNotice(const LoggingNotice &notice) {
    // Below the recent lines, where the user looks for the newest.
    QPlainTextEdit *box = recentLog();
    box->appendPlainText(qt(notice.text));
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    m_tray.showMessage(notice.trouble, ApplicationTitle, qt(notice.text));
}

void MainWindow::showInterval(int seconds) {
    lblTimerValue->setText(qt(form::intervalShortText(seconds)));
    // Heard with its unit, as the value itself.
    setSpokenValue(sldTimerInterval, qt(form::intervalSpokenText(seconds)));
}

void MainWindow::showTrayState(form::TrayPicture picture, const std::string &tip) {
    m_tray.showState(picture, qt(tip));
}

void MainWindow::appendLogNote(const std::string &text) {
    QPlainTextEdit *box = recentLog();
    box->appendPlainText(qt(text));
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
}

void MainWindow::watchSession() {
    mnuPopupPause->setChecked(pausesWhileLocked());
    if (m_session)
        return;
    m_session = new SessionWatch(this);
    connect(m_session, &SessionWatch::changed, this,
            [this](PauseSource source, bool on) { logging().pauseSource(source, on); });
    m_session->start();
}

void MainWindow::presentReport() {
    reportWindow().present();
}

void MainWindow::showFolderText(const std::string &folder) {
    txtLogFile->setText(qt(folder));
}

std::string MainWindow::browseForFolder(const std::string &title) {
    return utf8(BrowseForFolder(this, qt(title), QString(), true));
}

std::optional<bool> MainWindow::askAutostart() {
    QMessageBox question(QMessageBox::NoIcon, ApplicationTitle,
                         QString::fromLatin1(form::AutostartQuestion),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("autostartQuestion"));
    const int answer = question.exec();
    if (m_unloaded)
        return std::nullopt;
    return answer == QMessageBox::Yes;
}

void MainWindow::setAutostartChecked(bool checked) {
    chkAutostart->setChecked(checked);
}

void MainWindow::startMinimized() {
    if (m_tray.isShown())
        return;
    if (m_tray.isAdded())
        m_waitingForTray = true;
    else
        showMinimized();
}

void MainWindow::addTrayIcon() {
    m_tray.add();
}

void MainWindow::removeTrayIcon() {
    m_tray.remove();
}

void MainWindow::restoreWindow() {
    const bool wasHidden = isHidden();
    m_hiddenInTray = false;
    m_outOfTray = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    clearIconicRequest(*this);
    show();
    // Where it was when it hid: some window managers place a window that
    // maps again by its client area, moving it by the title bar each time.
    if (wasHidden && m_hiddenAt)
        move(*m_hiddenAt);
    raise();
    activateWindow();
    txtLogFile->setFocus(Qt::ActiveWindowFocusReason);
    raiseOpenDialog();
}

void MainWindow::raiseOpenDialog() {
    // A dialog the window has open comes back in front of it, or the window
    // would take no input while the dialog stays minimised.
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->showNormal();
        dialog->raise();
        dialog->activateWindow();
    }
}

void MainWindow::comeForward(const QString &activationToken) {
    // Qt's Wayland support activates with the token it finds here.
    if (!activationToken.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    bringForward();
    raiseOpenDialog();
}

void MainWindow::showPopupMenu() {
    mnuPopup->popup(QCursor::pos());
}

void MainWindow::showWindowMenu(QPoint at, QMenu *before, bool byKeyboard) {
    // The entry may have been made or removed by hand meanwhile.
    mnuPopupLogin->setChecked(startsAtLogin());
    mnuPopupPause->setChecked(pausesWhileLocked());
    QMenu *menu = mnuPopup;
    if (before) {
        before->setAttribute(Qt::WA_DeleteOnClose);
        before->addSeparator();
        before->addActions({mnuPopupReport, mnuPopupLogin, mnuPopupPause, mnuPopupExit});
        menu = before;
    }
    menu->popup(at);
    // Opened by a key, the menu starts on its first item, as Enter expects.
    if (byKeyboard)
        menu->setActiveAction(menu->actions().value(0));
}

void MainWindow::showWindowMenuAtFocus() {
    QWidget *focused = focusWidget();
    if (!focused)
        focused = this;
    const QPoint at = focused->mapToGlobal(focused->rect().center());
    if (focused == txtLogFile)
        showWindowMenu(at, txtLogFile->createStandardContextMenu(), true);
    else if (focused == m_recentLog)
        showWindowMenu(at, m_recentLog->createStandardContextMenu(), true);
    else
        showWindowMenu(at, nullptr, true);
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event) {
    showWindowMenu(event->globalPos());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    // Tab into the folder box selects nothing, as in a Windows form: Qt's
    // select-all would have a screen reader read the path twice, once as
    // "selected".
    if (watched == txtLogFile && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(txtLogFile, &plain);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter) && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The layout is fixed: full screen and maximised, which a window manager
    // may grant anyway, are undone at once.
    if (windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)) {
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~(Qt::WindowFullScreen | Qt::WindowMaximized));
        });
        return;
    }
    if (!(windowState() & Qt::WindowMinimized))
        return;
    // Hidden, the window can only come back through the icon: without a
    // tray to show it, it stays minimised in the taskbar instead.
    if (!m_tray.isShown())
        return;
    QTimer::singleShot(0, this, [this] { hideInTray(); });
}

void MainWindow::hideInTray() {
    if (isMinimized() && m_tray.isShown())
        hideKeepingPlace();
}

void MainWindow::hideKeepingPlace() {
    m_hiddenAt = pos();
    m_hiddenInTray = true;
    hide();
}

ReportWindow &MainWindow::reportWindow() {
    if (!m_report)
        m_report = std::make_unique<ReportWindow>(m_clock, [this] { return reportFolders(); });
    return *m_report;
}

void MainWindow::closeEvent(QCloseEvent *event) {
    // Unloading is never refused: the log file is closed, the icon removed,
    // and the program ends, even from within a dialog's own event loop.
    unload();
    if (m_report)
        m_report->close();
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
