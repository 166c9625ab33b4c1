#include "display_check.h"

#include "form/command_line.h"
#include "logging/clock.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/termination_signals.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char *argv[]) {
    // The options are read before anything needs a display.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const wendle::form::CommandLine commandLine = wendle::form::readCommandLine(arguments);
    switch (commandLine.action) {
    case wendle::form::CommandLine::Action::Help:
        std::fputs(wendle::form::helpText().c_str(), stdout);
        return 0;
    case wendle::form::CommandLine::Action::Version:
        std::puts(wendle::form::versionText(WENDLE_VERSION).c_str());
        return 0;
    case wendle::form::CommandLine::Action::Mistake:
        std::fprintf(stderr, "%s\n", wendle::form::mistakeText(commandLine).c_str());
        return 2;
    case wendle::form::CommandLine::Action::Run:
        break;
    }

    if (const QString message =
            missingDisplayMessage(QString::fromLocal8Bit(argc > 0 ? argv[0] : "wendle"));
        !message.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }
    // Set for Qt to read as it starts, then taken away again, so that
    // programs started from here make their own choice.
    const QString platform = preferredPlatform(argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
    QApplication app(argc, argv);
    if (!platform.isEmpty())
        qunsetenv("QT_QPA_PLATFORM");
    // The name trays show as the icon's title (KDE's, from the item) and
    // notifications as the sender: the same as the tip and the window.
    QApplication::setApplicationName(QStringLiteral("Quorvel Wendle"));
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
    if (!commandLine.minimized)
        window.show();
    else
        window.startMinimized();
    if (!single.listenProblem().isEmpty()) {
        // Logging goes on; the user only learns that a second start cannot
        // find this copy.
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Wendle"),
                                    QStringLiteral("Starting Wendle again will not bring this "
                                                   "window forward: ") +
                                        single.listenProblem(),
                                    QMessageBox::Ok, &window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    return QApplication::exec();
}
