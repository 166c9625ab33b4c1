// Times "Show Recent Log" (closing, reading the tail, reopening) on the log
// files named on the command line, many runs each, and prints the median.
#include "logging/logging_control.h"
#include "support/fake_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

class FixedClock final : public wendle::Clock {
public:
    wendle::ClockReading read() const override { return {m_now, 0}; }
    wendle::LocalDateTime m_now;
};

} // namespace

int main(int argc, char *argv[]) {
    constexpr int runs = 200;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path log = std::filesystem::absolute(argv[i]);
        FixedClock clock;
        if (std::sscanf(log.stem().c_str(), "%4d-%2d-%2d", &clock.m_now.date.year,
                        &clock.m_now.date.month, &clock.m_now.date.day) != 3) {
            std::fprintf(stderr, "%s: name it yyyy-mm-dd.log\n", argv[i]);
            return 2;
        }
        clock.m_now.time = {12, 0, 0};
        wendle::test::ManualTimer timer; // ticks never come by themselves
        wendle::LoggingControl control(clock, timer);
        control.setFolder(log.parent_path().string());
        std::size_t shown = 0;
        control.setListener({{}, [&](const std::string &text) { shown = text.size(); }, {}, {}});
        control.start();
        std::vector<long long> times;
        for (int run = 0; run < runs; ++run) {
            const auto begin = std::chrono::steady_clock::now();
            control.showRecentLog();
            times.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::steady_clock::now() - begin)
                                .count());
        }
        control.stop();
        std::sort(times.begin(), times.end());
        std::printf("%-12s %14lld bytes  median %8.1f us  p90 %8.1f us  (%zu bytes shown)\n",
                    log.filename().c_str(), static_cast<long long>(std::filesystem::file_size(log)),
                    times[times.size() / 2] / 1000.0, times[times.size() * 9 / 10] / 1000.0, shown);
    }
    return 0;
}
