#include "display_check.h"

#include "logging/clock.h"
#include "settings/login_start.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/termination_signals.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("wendle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WENDLE_VERSION));
    // The options are read before anything needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Records the time of day at a fixed interval, one log file a day."));
    const QCommandLineOption help = options.addHelpOption();
    const QCommandLineOption version = options.addVersionOption();
    const QCommandLineOption minimized(
        QString::fromLatin1(wendle::MinimizedOption + 2),
        QStringLiteral("Start hidden in the tray (minimised where there is no tray)."));
    options.addOption(minimized);
    if (!options.parse(arguments) || !options.positionalArguments().isEmpty()) {
        const QString problem = options.errorText().isEmpty()
                                    ? QStringLiteral("no arguments are taken")
                                    : options.errorText();
        std::fprintf(stderr, "wendle: %s (see --help)\n", qPrintable(problem));
        return 2;
    }
    if (options.isSet(help)) {
        std::fputs(qPrintable(options.helpText()), stdout);
        return 0;
    }
    if (options.isSet(version)) {
        std::printf("wendle %s\n", WENDLE_VERSION);
        return 0;
    }

    if (const QString message = missingDisplayMessage(arguments.constFirst()); !message.isEmpty()) {
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

    // A second start brings the running copy forward instead of logging twice.
    wendle::SingleInstance single;
    if (!single.claim())
        return 0;

    wendle::SystemClock clock;
    wendle::MainWindow window(clock);
    wendle::TerminationSignals termination;
    QObject::connect(&termination, &wendle::TerminationSignals::received, &window, &QWidget::close);
    QObject::connect(&single, &wendle::SingleInstance::comeForward, &window,
                     &wendle::MainWindow::comeForward);

    window.load();
    if (window.isUnloaded())
        return 0;
    if (!options.isSet(minimized))
        window.show();
    else if (!window.trayIcon().isShown())
        window.showMinimized();
    return QApplication::exec();
}
