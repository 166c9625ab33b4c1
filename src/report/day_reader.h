#pragma once

#include "report/day_record.h"
#include "report/file_identity.h"

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
    // No time of day any locale writes comes near this: a longer line (a run
    // of NUL bytes, a file that is not a log) is unreadable, and only
    // counted, whatever its length.
    static constexpr std::size_t MaxLineBytes = 256;
    // A day of 32 writers logging every second in the longest format is
    // about 100 MB: a larger file is not a day's log, and is not read.
    static constexpr std::uint64_t MaxDayBytes = std::uint64_t(256) << 20;

    DayReader(const LocalDate &date, const DayHalfMarkers &markers);

    // Any piece of the file, lines cut anywhere.
    void feed(std::string_view bytes);
    // What the pieces so far hold; a last line without its end counts.
    DayRecord record() const;
    std::uint64_t bytesRead() const { return m_bytes; }
    // Forgets what was read, for a file that was replaced.
    void restart() { *this = DayReader(m_date, *m_markers); }
    const LocalDate &date() const { return m_date; }
    // The last bytes read, to tell when reading on that the file is still
    // the one read before.
    const std::string &lastBytes() const { return m_lastBytes; }
    // The file being read.
    const std::optional<FileIdentity> &identity() const { return m_identity; }
    void setIdentity(const std::optional<FileIdentity> &identity) { m_identity = identity; }

private:
    void addLine(std::string_view line, WriterLines &lines, std::vector<long> &unreadable,
                 long number) const;

    LocalDate m_date;
    const DayHalfMarkers *m_markers;
    std::optional<ClockJump> m_jump;
    WriterLines m_lines;
    std::vector<long> m_unreadable;
    std::string m_partial;
    bool m_overlong = false; // the line being read is longer than MaxLineBytes
    std::string m_lastBytes;
    std::optional<FileIdentity> m_identity;
    long m_count = 0;
    std::uint64_t m_bytes = 0;
};

// Feeds the reader what the file holds past what it read already: the whole
// file the first time, then what was appended since. A file that was
// replaced (another file under the name, or one that has become shorter or
// no longer holds the bytes last read where they were) is read again from
// its start. A missing file is a day with nothing logged; false, with the
// reason, when it cannot be read or is larger than MaxDayBytes.
// With a limit, it stops after that many more bytes.
bool readOn(DayReader &reader, const std::string &path, std::string &error,
            std::uint64_t limit = UINT64_MAX);

} // namespace wendle::report
