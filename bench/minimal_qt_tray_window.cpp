// The yardstick for start-up time and memory of a program that lives in the
// tray: the least a Qt 6 Widgets program needs to show a window and an icon
// in the system tray. With --text the window also shows one line of text,
// which is what a program that says anything at all pays for fonts and text
// layout; its title is then "Minimal Qt Tray Window With Text".
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const bool withText = QApplication::arguments().contains(QStringLiteral("--text"));
    QWidget window;
    window.setWindowTitle(withText ? QStringLiteral("Minimal Qt Tray Window With Text")
                                   : QStringLiteral("Minimal Qt Tray Window"));
    window.resize(267, 339);
    if (withText)
        (new QLabel(QStringLiteral("Log File:"), &window))->move(8, 8);
    QMenu menu;
    menu.addAction(QStringLiteral("Exit"), &app, &QApplication::quit);
    QSystemTrayIcon icon(window.style()->standardIcon(QStyle::SP_ComputerIcon));
    icon.setToolTip(QStringLiteral("Minimal Qt Tray Window"));
    icon.setContextMenu(&menu);
    icon.show();
    window.show();
    return QApplication::exec();
}
