#include "ui/tray_icon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>

#include "ui/status_notifier_watch.h"
#include "ui/xembed_tray_watch.h"

#include "form/texts.h"

namespace wendle {

using namespace form;

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

TrayIcon::TrayIcon(const QIcon &icon, const QIcon &loggingIcon, const QIcon &pausedIcon,
                   QObject *parent)
    : QObject(parent), m_picture(icon), m_loggingPicture(loggingIcon), m_pausedPicture(pausedIcon),
      m_tip(QString::fromLatin1(TrayTip)) {}

TrayIcon::~TrayIcon() = default;

void TrayIcon::add() {
    m_wanted = true;
    if (m_icon) {
        showIcon();
        return;
    }
    if (m_xembedTray) {
        lookForTray();
        return;
    }
    // Both kinds of tray are asked at once and answer by signal; a tray that
    // comes later says so the same way.
    m_xembedTray = new XembedTrayWatch(this);
    m_statusNotifierHost = new StatusNotifierWatch(this);
    connect(m_xembedTray, &XembedTrayWatch::changed, this, &TrayIcon::lookForTray);
    connect(m_statusNotifierHost, &StatusNotifierWatch::changed, this, &TrayIcon::lookForTray);
    m_xembedTray->start();
    m_statusNotifierHost->start();
}

void TrayIcon::lookForTray() {
    if (!m_wanted)
        return;
    using Host = StatusNotifierWatch::Host;
    const Host host = m_statusNotifierHost->host();
    if (m_icon) {
        // Only the kind of tray Qt chose when it made the icon can show it;
        // both watches go on telling whether that tray is there.
        const bool there =
            m_shownByStatusNotifierHost ? host == Host::Registered : m_xembedTray->present();
        const bool gone =
            m_shownByStatusNotifierHost ? host == Host::None : m_xembedTray->known() && !there;
        if (there && !m_trayThere) {
            m_trayThere = true;
            showIcon();
            emit trayAppeared();
        } else if (gone && m_trayThere) {
            m_trayThere = false;
            emit trayVanished();
        }
        return;
    }
    // Qt settles which kind of tray it uses when the icon is made, asking
    // the StatusNotifierItem watcher itself and waiting for its answer: the
    // icon is made only once the watcher has answered, or is known absent.
    // So a host that came second is still used, and a hung watcher never
    // holds up the window.
    const bool byHost = host == Host::Registered;
    if (byHost || (host == Host::None && m_xembedTray->present())) {
        m_shownByStatusNotifierHost = byHost;
        m_trayThere = true;
        showIcon();
        emit trayAppeared();
        return;
    }
    if (!m_toldAbsent && host != Host::Unknown && m_xembedTray->known()) {
        m_toldAbsent = true;
        emit trayAbsent();
    }
}

QIcon TrayIcon::currentPicture() const {
    switch (m_shown) {
    case TrayPicture::Warning:
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    case TrayPicture::LoggingClock:
        return m_loggingPicture;
    case TrayPicture::Paused:
        return m_pausedPicture;
    case TrayPicture::Clock:
        break;
    }
    return m_picture;
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
    if (m_hostMenu && m_shownByStatusNotifierHost)
        m_icon->setContextMenu(m_hostMenu);
    m_icon->show();
}

void TrayIcon::remove() {
    m_wanted = false;
    if (m_icon)
        m_icon->hide();
}

void TrayIcon::showState(TrayPicture picture, const QString &tip) {
    m_shown = picture;
    m_tip = tip;
    if (!m_icon)
        return;
    m_icon->setIcon(currentPicture());
    m_icon->setToolTip(tip);
}

void TrayIcon::showMessage(bool trouble, const QString &title, const QString &text) {
    if (m_icon && m_icon->isVisible() && QSystemTrayIcon::supportsMessages())
        m_icon->showMessage(title, text,
                            trouble ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
}

// What the watches of both kinds of tray last said, never Qt's own
// isSystemTrayAvailable(): that asks the StatusNotifierItem watcher and waits
// for its answer, and a watcher that is itself asking the icon something
// (hosts read its properties) then holds both up until D-Bus gives up.
bool TrayIcon::isShown() const {
    return m_icon && m_icon->isVisible() && m_trayThere;
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
