// The yardstick for start-up time and memory of a program that lives in the
// tray: the least a Qt 6 Widgets program needs to show a window and an icon
// in the system tray.
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Qt Tray Window"));
    window.resize(267, 339);
    QMenu menu;
    menu.addAction(QStringLiteral("Exit"), &app, &QApplication::quit);
    QSystemTrayIcon icon(window.style()->standardIcon(QStyle::SP_ComputerIcon));
    icon.setToolTip(QStringLiteral("Minimal Qt Tray Window"));
    icon.setContextMenu(&menu);
    icon.show();
    window.show();
    return QApplication::exec();
}
