#include "display_check.h"

#include "logging/clock.h"
#include "ui/main_window.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (const QString message = missingDisplayMessage(); !message.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendle"));

    wendle::SystemClock clock;
    wendle::MainWindow window(clock);
    window.show();
    return QApplication::exec();
}
