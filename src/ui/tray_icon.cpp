#include "ui/tray_icon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QTimer>

#include <memory>

#include "ui/x11_window.h"

#ifdef WENDLE_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#endif

namespace wendle {

using namespace form;

namespace {

// Whether Qt will show the icon through a StatusNotifierItem host, whose
// menu is drawn by the desktop, rather than through an XEmbed tray.
bool statusNotifierHostPresent() {
#ifdef WENDLE_HAVE_DBUS
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(watcher))
        return false;
    QDBusInterface interface(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return interface.property("IsStatusNotifierHostRegistered").toBool();
#else
    return false;
#endif
}

// Whether a tray of either kind is on the desktop now. Qt settles which
// kind it uses the first time it is asked and keeps to it, so it is not
// asked before a tray is there: a StatusNotifierItem host that came second
// would never be used.
bool trayPresent() {
    return statusNotifierHostPresent() || xembedTrayPresent();
}

// How often a program started before its tray looks for one.
constexpr int TrayLookMilliseconds = 1000;

} // namespace

int trayMessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayLeftButtonDown;
    case QSystemTrayIcon::DoubleClick:
        return TrayLeftDoubleClick;
    case QSystemTrayIcon::Context:
        return TrayRightButtonDown;
    case QSystemTrayIcon::MiddleClick:
        return TrayMiddleButtonDown;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayMouseMove;
}

TrayIcon::TrayIcon(const QIcon &icon, const QIcon &loggingIcon, const QString &tip, QObject *parent)
    : QObject(parent), m_picture(icon), m_loggingPicture(loggingIcon), m_tip(tip) {}

TrayIcon::~TrayIcon() = default;

void TrayIcon::add() {
    m_wanted = true;
    if (trayPresent()) {
        showIcon();
        return;
    }
    if (!m_trayWait) {
        m_trayWait = new QTimer(this);
        m_trayWait->setInterval(TrayLookMilliseconds);
        connect(m_trayWait, &QTimer::timeout, this, &TrayIcon::lookForTray);
    }
    m_trayWait->start();
}

void TrayIcon::lookForTray() {
    if (!m_wanted || !trayPresent())
        return;
    m_trayWait->stop();
    showIcon();
    emit trayAppeared();
}

QIcon TrayIcon::currentPicture() const {
    if (m_trouble)
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    return m_logging ? m_loggingPicture : m_picture;
}

void TrayIcon::showIcon() {
    // Made only now: Qt settles on the kind of tray when its icon is made.
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>(currentPicture());
        m_icon->setObjectName(QStringLiteral("trayIcon"));
        m_icon->setToolTip(m_tip);
        connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    emit message(trayMessageFor(reason));
                });
    }
    if (m_hostMenu && statusNotifierHostPresent())
        m_icon->setContextMenu(m_hostMenu);
    m_icon->show();
}

void TrayIcon::remove() {
    m_wanted = false;
    if (m_trayWait)
        m_trayWait->stop();
    if (m_icon)
        m_icon->hide();
}

void TrayIcon::setTip(const QString &tip) {
    m_tip = tip;
    if (m_icon)
        m_icon->setToolTip(tip);
}

void TrayIcon::setLogging(bool logging) {
    m_logging = logging;
    if (m_icon)
        m_icon->setIcon(currentPicture());
}

void TrayIcon::showNotice(bool trouble, const QString &tip, const QString &title,
                          const QString &text) {
    m_trouble = trouble;
    setTip(tip);
    if (!m_icon)
        return;
    m_icon->setIcon(currentPicture());
    if (m_icon->isVisible() && QSystemTrayIcon::supportsMessages())
        m_icon->showMessage(title, text,
                            trouble ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
}

bool TrayIcon::isShown() const {
    return m_icon && m_icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::useMenuForMenuOnlyTrays(QMenu *popup, const QList<QAction *> &items) {
    m_hostMenu = new QMenu(popup);
    m_hostMenu->setObjectName(QStringLiteral("trayHostMenu"));
    QAction *restore = m_hostMenu->addAction(tr("&Show Quorvel Wendle"));
    // As a double click does: it always shows, where a single click may
    // also hide (Wayland).
    connect(restore, &QAction::triggered, this, [this] { emit message(TrayLeftDoubleClick); });
    m_hostMenu->addSeparator();
    m_hostMenu->addActions(items);
}

} // namespace wendle
