#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include "form/tray_messages.h"

class QAction;
class QMenu;

namespace wendle {

// The message an activation of Qt's tray icon stands for.
int trayMessageFor(QSystemTrayIcon::ActivationReason reason);

// The program's icon in the desktop's system tray. Its clicks come out as
// icon messages; whoever owns it decodes them.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(const QIcon &icon, const QString &tip, QObject *parent = nullptr);

    void add();
    void remove();
    // True while the icon is up and a tray shows it: only then is the icon
    // a way back to a hidden window.
    bool isShown() const;
    // True between add() and remove().
    bool isAdded() const { return m_icon.isVisible(); }
    QString toolTip() const { return m_icon.toolTip(); }

    // Lines are held (a warning picture and tip) or written again (the
    // clock); the text also goes out as a desktop notification, or as the
    // tray's own balloon where there is none.
    void showNotice(bool trouble, const QString &tip, const QString &title, const QString &text);

    void setTip(const QString &tip) { m_icon.setToolTip(tip); }

    // Trays that open a menu on any click (StatusNotifierItem hosts such as
    // GNOME's AppIndicator extension) get this menu, with a way back to the
    // window first in it. XEmbed trays report their clicks instead.
    void useMenuForMenuOnlyTrays(QMenu *popup, const QList<QAction *> &items);
    QMenu *hostMenu() const { return m_hostMenu; }

signals:
    void message(int message);

private:
    QIcon m_picture;
    QSystemTrayIcon m_icon;
    QMenu *m_hostMenu = nullptr;
};

} // namespace wendle
