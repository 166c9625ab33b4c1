// Times "Show Recent Log" (closing, reading the tail, reopening) on the log
// files named on the command line, many runs each, and prints the median.
#include "logging/logging_control.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class FixedClock final : public wendle::Clock {
public:
    QDateTime now() const override { return m_now; }
    QDateTime m_now;
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    constexpr int runs = 200;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo log(QString::fromLocal8Bit(argv[i]));
        const QDate date = QDate::fromString(log.completeBaseName(), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid()) {
            std::fprintf(stderr, "%s: name it yyyy-mm-dd.log\n", argv[i]);
            return 2;
        }
        FixedClock clock;
        clock.m_now = QDateTime(date, QTime(12, 0));
        wendle::LoggingControl control(clock);
        control.setFolder(log.absolutePath());
        control.start();
        qsizetype shown = 0;
        QObject::connect(&control, &wendle::LoggingControl::recentLogRead,
                         [&](const QString &text) { shown = text.size(); });
        std::vector<qint64> times;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            control.showRecentLog();
            times.push_back(timer.nsecsElapsed());
        }
        control.stop();
        std::sort(times.begin(), times.end());
        std::printf("%-12s %14lld bytes  median %8.1f us  p90 %8.1f us  (%lld characters shown)\n",
                    qPrintable(log.fileName()), static_cast<long long>(log.size()),
                    times[times.size() / 2] / 1000.0, times[times.size() * 9 / 10] / 1000.0,
                    static_cast<long long>(shown));
    }
    return 0;
}
