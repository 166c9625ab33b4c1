#pragma once

#include "report/day_record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wendle::report {

// A day's log file read piece by piece as it grows: the record so far is
// there after each piece, and memory stays within what a day can hold
// whatever the file's size.
class DayReader {
public:
    // Unreadable lines listed beyond these are only counted in the file.
    static constexpr std::size_t MaxListedLines = 1000;

    DayReader(const LocalDate &date, const DayHalfMarkers &markers);

    // Any piece of the file, lines cut anywhere.
    void feed(std::string_view bytes);
    // What the pieces so far hold; a last line without its end counts.
    DayRecord record() const;
    std::uint64_t bytesRead() const { return m_bytes; }
    // Forgets what was read, for a file that was replaced.
    void restart() { *this = DayReader(m_date, *m_markers); }
    const LocalDate &date() const { return m_date; }

private:
    void addLine(std::string_view line, WriterLines &lines, std::vector<long> &unreadable,
                 long number) const;

    LocalDate m_date;
    const DayHalfMarkers *m_markers;
    std::optional<ClockJump> m_jump;
    WriterLines m_lines;
    std::vector<long> m_unreadable;
    std::string m_partial;
    long m_count = 0;
    std::uint64_t m_bytes = 0;
};

// Feeds the reader what the file holds past what it read already: the whole
// file the first time, then what was appended since. A file that has become
// shorter was replaced, and is read again from its start. A missing file is
// a day with nothing logged; false, with the reason, when it cannot be read.
// With a limit, it stops after that many more bytes.
bool readOn(DayReader &reader, const std::string &path, std::string &error,
            std::uint64_t limit = UINT64_MAX);

} // namespace wendle::report
