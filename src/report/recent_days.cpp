#include "report/recent_days.h"

#include "report/dates.h"
#include "report/record_reader.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <new>

namespace wendle::report {

RecentDays::RecentDays(const Clock &clock, std::function<std::vector<std::string>()> folders)
    : m_clock(clock), m_folders(std::move(folders)), m_markers(localMarkers()) {}

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
        days.insert(days.begin(), emptyDay(today));
    days.front().readError = text;
}

} // namespace

RecentDays::State RecentDays::read(State state, const DayHalfMarkers &markers) {
    // Whatever fails here is told in the window, which goes on, and so
    // does the logging beside it; the next reading starts afresh.
    try {
        readInto(state, markers);
    } catch (...) {
        state.readFor.reset();
        state.todayFiles.clear();
        showFailure(state.days, state.today, failureText(std::current_exception()));
    }
    return state;
}

void RecentDays::readInto(State &state, const DayHalfMarkers &markers) {
    if (state.readFor != state.today) {
        state.days = readRecord(state.folders, addDays(state.today, 1 - Count),
                                addDays(state.today, -1), markers);
        std::reverse(state.days.begin(), state.days.end());
        state.days.insert(state.days.begin(), emptyDay(state.today));
        state.todayFiles.clear();
        state.readFor = state.today;
    }
    // Each file read on where its reader stopped; a copy that has gone is
    // no longer counted.
    const DayFiles files = dayFiles(state.folders, state.today, 1).front();
    std::vector<TodayFile> read;
    DayRecord today = emptyDay(state.today);
    today.copiesLeft = files.copiesLeft;
    for (const DayFile &file : files.files) {
        const auto known = std::find_if(state.todayFiles.begin(), state.todayFiles.end(),
                                        [&](const TodayFile &t) { return t.file == file; });
        read.push_back(known != state.todayFiles.end() ? std::move(*known)
                                                       : TodayFile{file, {state.today, markers}});
        std::string error;
        const bool readable = readOn(read.back().reader, file.path, error);
        DayRecord record = read.back().reader.record();
        if (!readable)
            record.readError = error;
        addFileRecord(today, file, record, read.size() == 1);
    }
    state.todayFiles = std::move(read);
    state.days.front() = std::move(today);
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
        std::vector<std::string> folders = m_folders();
        if (folders != state.folders)
            state.readFor.reset(); // new folders are read from scratch
        state.folders = std::move(folders);
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
