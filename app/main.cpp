#include "display_check.h"

#include "logging/clock.h"
#include "ui/main_window.h"
#include "ui/termination_signals.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    if (const QString message = missingDisplayMessage(QString::fromLocal8Bit(argv[0]));
        !message.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendle"));
    // Ties the window to its installed .desktop file and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvel.Wendle"));
    // The window may be hidden in the tray while a message box closes; the
    // program ends only when the window is unloaded.
    QApplication::setQuitOnLastWindowClosed(false);

    wendle::SystemClock clock;
    wendle::MainWindow window(clock);
    wendle::TerminationSignals termination;
    QObject::connect(&termination, &wendle::TerminationSignals::received, &window, &QWidget::close);

    window.load();
    if (window.isUnloaded())
        return 0;
    window.show();
    return QApplication::exec();
}
