#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

#include "form/tray_messages.h"
#include "form/tray_state.h"

class QAction;
class QMenu;

namespace wendle {

class StatusNotifierWatch;
class XembedTrayWatch;

// The message an activation of Qt's tray icon stands for.
int trayMessageFor(QSystemTrayIcon::ActivationReason reason);

// The program's icon in the desktop's system tray. Its clicks come out as
// icon messages; whoever owns it decodes them.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(const QIcon &icon, const QIcon &loggingIcon, const QIcon &pausedIcon,
             QObject *parent = nullptr);
    ~TrayIcon() override;

    // The icon is shown once the desktop has said there is a tray, without
    // waiting for it to say so; with no tray yet, the icon waits for one and
    // is shown as soon as a tray appears (a panel that starts after the
    // program, a tray extension enabled later).
    void add();
    void remove();
    // True while the icon is up and a tray shows it: only then is the icon
    // a way back to a hidden window.
    bool isShown() const;
    // True between add() and remove().
    bool isAdded() const { return m_wanted; }
    QString toolTip() const { return m_tip; }

    // The picture and tip the icon shows from now on, also when it is made
    // again for a tray that came.
    void showState(form::TrayPicture picture, const QString &tip);
    // A notice that lines are held or written again, as the tray's balloon
    // (a desktop notification where the desktop has them).
    void showMessage(bool trouble, const QString &title, const QString &text);

    // Trays that open a menu on any click (StatusNotifierItem hosts such as
    // GNOME's AppIndicator extension) get this menu, with a way back to the
    // window first in it. XEmbed trays report their clicks instead.
    void useMenuForMenuOnlyTrays(QMenu *popup, const QList<QAction *> &items);
    QMenu *hostMenu() const { return m_hostMenu; }

signals:
    void message(int message);
    // A tray showed the icon after add(), or came again after it had
    // gone: the icon is now a way back.
    void trayAppeared();
    // The tray that showed the icon has gone (a panel that quit, a tray
    // extension turned off, as GNOME does at every lock): until one comes
    // again, the icon is no way back.
    void trayVanished();
    // The desktop said it has no tray (yet) after add(): until one comes,
    // the taskbar is the way back to a minimised window.
    void trayAbsent();

private:
    void showIcon();
    void lookForTray();
    QIcon currentPicture() const;

    QIcon m_picture;
    QIcon m_loggingPicture;
    QIcon m_pausedPicture;
    form::TrayPicture m_shown = form::TrayPicture::Clock;
    QString m_tip;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QMenu *m_hostMenu = nullptr;
    XembedTrayWatch *m_xembedTray = nullptr;
    StatusNotifierWatch *m_statusNotifierHost = nullptr;
    bool m_wanted = false;
    bool m_shownByStatusNotifierHost = false;
    // The tray that showed the icon is there now.
    bool m_trayThere = false;
    bool m_toldAbsent = false;
};

} // namespace wendle
