#include "report/recent_days.h"

#include "logging/log_paths.h"
#include "report/dates.h"
#include "report/record_reader.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <new>

namespace wendle::report {

RecentDays::RecentDays(const Clock &clock, std::function<std::string()> folder)
    : m_clock(clock), m_folder(std::move(folder)), m_markers(localMarkers()) {}

RecentDays::~RecentDays() {
    if (m_pending.valid())
        m_pending.wait();
}

namespace {

// What went wrong, in the words the window shows.
std::string failureText(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc &) {
        return "not enough memory";
    } catch (const std::exception &e) {
        return e.what();
    } catch (...) {
        return "an unknown failure";
    }
}

// Today's row tells it; the days read before stay shown.
void showFailure(std::vector<DayRecord> &days, const LocalDate &today, const std::string &text) {
    if (days.empty() || days.front().date != today)
        days.insert(days.begin(), DayRecord{today, {}, {}, {}});
    days.front().readError = text;
}

} // namespace

RecentDays::State RecentDays::read(State state, const DayHalfMarkers &markers) {
    // Whatever fails here is told in the window, which goes on, and so
    // does the logging beside it; the next reading starts afresh.
    try {
        readInto(state, markers);
    } catch (...) {
        state.todayReader.reset();
        showFailure(state.days, state.today, failureText(std::current_exception()));
    }
    return state;
}

void RecentDays::readInto(State &state, const DayHalfMarkers &markers) {
    const std::string path = dailyLogPath(state.folder, state.today);
    if (!state.todayReader || state.todayReader->date() != state.today) {
        state.days = readRecord(state.folder, addDays(state.today, 1 - Count),
                                addDays(state.today, -1), markers);
        std::reverse(state.days.begin(), state.days.end());
        state.days.insert(state.days.begin(), DayRecord{state.today, {}, {}, {}});
        state.todayReader.emplace(state.today, markers);
    }
    std::string error;
    const bool read = readOn(*state.todayReader, path, error);
    state.days.front() = state.todayReader->record();
    if (!read)
        state.days.front().readError = error;
    if (state.days.size() > 1)
        joinAtMidnight(state.days[1], state.days.front());
}

void RecentDays::refresh() {
    if (m_pending.valid())
        return;
    m_lastStart = m_clock.epochMilliseconds();
    const LocalDate today = m_clock.now().date;
    try {
        State state = std::move(m_state);
        const std::string folder = m_folder();
        if (folder != state.folder)
            state.todayReader.reset(); // a new folder is read from scratch
        state.folder = folder;
        state.today = today;
        m_pending = std::async(std::launch::async, read, std::move(state), std::cref(m_markers));
    } catch (...) {
        // No thread to read on: tried again at the next look.
        m_state = State{};
        showFailure(m_days, today, failureText(std::current_exception()));
    }
}

bool RecentDays::collect(bool wait) {
    if (!m_pending.valid())
        return false;
    if (!wait && m_pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    try {
        m_state = m_pending.get();
        m_days = m_state.days;
    } catch (...) {
        m_state = State{};
        showFailure(m_days, m_clock.now().date, failureText(std::current_exception()));
    }
    return true;
}

bool RecentDays::poll() {
    const bool collected = collect(false);
    const std::int64_t now = m_clock.epochMilliseconds();
    if (!m_pending.valid() && (now - m_lastStart >= FollowMilliseconds || now < m_lastStart))
        refresh();
    return collected;
}

void RecentDays::finish() {
    collect(true);
}

} // namespace wendle::report
