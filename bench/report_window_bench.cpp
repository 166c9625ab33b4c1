// Times the report window from "Report…" to its first picture: reading the
// last 7 days from the folder named on the command line and painting them.
#include "logging/clock.h"
#include "ui/report_window.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_window_bench FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    wendle::SystemClock clock;
    std::vector<double> times;
    for (int run = 0; run < 20; ++run) {
        wendle::ReportWindow window(clock, [&] { return std::vector{folder}; });
        QElapsedTimer timer;
        timer.start();
        window.present();
        window.finishReading(); // read on its own thread
        window.grab();          // paints it
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("report window, last 7 days: median %.1f ms, worst %.1f ms (20 runs)\n",
                times[times.size() / 2], times.back());
    return 0;
}
