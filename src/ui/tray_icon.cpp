#include "ui/tray_icon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>

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

TrayIcon::TrayIcon(const QIcon &icon, const QString &tip, QObject *parent)
    : QObject(parent), m_picture(icon), m_icon(icon) {
    m_icon.setObjectName(QStringLiteral("trayIcon"));
    m_icon.setToolTip(tip);
    connect(
        &m_icon, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) { emit message(trayMessageFor(reason)); });
}

void TrayIcon::add() {
    if (m_hostMenu && statusNotifierHostPresent())
        m_icon.setContextMenu(m_hostMenu);
    m_icon.show();
}

void TrayIcon::remove() {
    m_icon.hide();
}

void TrayIcon::showNotice(bool trouble, const QString &tip, const QString &title,
                          const QString &text) {
    m_icon.setIcon(trouble ? QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)
                           : m_picture);
    m_icon.setToolTip(tip);
    if (m_icon.isVisible() && QSystemTrayIcon::supportsMessages())
        m_icon.showMessage(title, text,
                           trouble ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
}

bool TrayIcon::isShown() const {
    return m_icon.isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::useMenuForMenuOnlyTrays(QMenu *popup, const QList<QAction *> &items) {
    m_hostMenu = new QMenu(popup);
    m_hostMenu->setObjectName(QStringLiteral("trayHostMenu"));
    QAction *restore = m_hostMenu->addAction(tr("&Show Quorvel Wendle"));
    connect(restore, &QAction::triggered, this, [this] { emit message(TrayLeftButtonDown); });
    m_hostMenu->addSeparator();
    m_hostMenu->addActions(items);
}

} // namespace wendle
