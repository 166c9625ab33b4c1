#include "report/day_reader.h"

#include "logging/system_error.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace wendle::report {

namespace {

constexpr std::size_t Piece = 1 << 20;
// Enough of the bytes last read to tell the file is the one read before.
constexpr std::size_t KeptBytes = 64;

std::string sizeText(std::uintmax_t bytes) {
    return bytes >= (std::uintmax_t(1) << 30) ? std::to_string(bytes >> 30) + " GB"
                                              : std::to_string(bytes >> 20) + " MB";
}

} // namespace

DayReader::DayReader(const LocalDate &date, const DayHalfMarkers &markers)
    : m_date(date), m_markers(&markers), m_jump(clockJumpOn(date)), m_lines(m_jump) {}

void DayReader::addLine(std::string_view line, WriterLines &lines, std::vector<long> &unreadable,
                        long number) const {
    const std::optional<int> at =
        line.size() <= MaxLineBytes ? parseTimeOfDay(line, *m_markers) : std::nullopt;
    if (at)
        lines.add(*at);
    else if (unreadable.size() < MaxListedLines)
        unreadable.push_back(number);
}

void DayReader::feed(std::string_view bytes) {
    m_bytes += bytes.size();
    if (bytes.size() >= KeptBytes)
        m_lastBytes.assign(bytes.substr(bytes.size() - KeptBytes));
    else
        m_lastBytes =
            (m_lastBytes + std::string(bytes))
                .substr(std::max(m_lastBytes.size() + bytes.size(), KeptBytes) - KeptBytes);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view part = bytes.substr(0, end);
        // A crash or power cut in the middle of a write can leave NUL bytes
        // where the line was to be, and the next line is appended right
        // after them. No time of day holds a NUL, so a line goes on after
        // its last one.
        if (const std::size_t nul = part.rfind('\0'); nul != std::string_view::npos) {
            part.remove_prefix(nul + 1);
            m_partial.clear();
            m_overlong = false;
        }
        // Only the start of a line that is too long is kept: that it was.
        if (!m_overlong && m_partial.size() + part.size() > MaxLineBytes) {
            m_overlong = true;
            std::string().swap(m_partial);
        }
        if (end == std::string_view::npos) {
            if (!m_overlong)
                m_partial.append(part);
            return;
        }
        ++m_count;
        if (m_overlong) {
            if (m_unreadable.size() < MaxListedLines)
                m_unreadable.push_back(m_count);
            m_overlong = false;
        } else if (m_partial.empty()) {
            addLine(part, m_lines, m_unreadable, m_count);
        } else {
            m_partial.append(part);
            addLine(m_partial, m_lines, m_unreadable, m_count);
            m_partial.clear();
        }
        bytes.remove_prefix(end + 1);
    }
}

DayRecord DayReader::record() const {
    DayRecord day = emptyDay(m_date);
    day.unreadableLines = m_unreadable;
    if (m_partial.empty() && !m_overlong) {
        day.stretches = stretchesOfWriters(m_lines, m_jump, &day.beforeMidnight);
    } else {
        // The line being written as the file was read.
        WriterLines lines = m_lines;
        if (m_overlong && day.unreadableLines.size() < MaxListedLines)
            day.unreadableLines.push_back(m_count + 1);
        else if (!m_overlong)
            addLine(m_partial, lines, day.unreadableLines, m_count + 1);
        day.stretches = stretchesOfWriters(lines, m_jump, &day.beforeMidnight);
    }
    return day;
}

bool readOn(DayReader &reader, const std::string &path, std::string &error, std::uint64_t limit) {
    namespace fs = std::filesystem;
    const fs::path file(std::u8string(path.begin(), path.end()));
    std::error_code failure;
    const fs::file_status status = fs::status(file, failure);
    if (!fs::exists(status))
        return true;
    // A pipe or a device named like a log would make the reader wait.
    if (!fs::is_regular_file(status)) {
        error = fs::is_directory(status) ? systemErrorText(EISDIR) : NotRegularFileText;
        return false;
    }
    const std::uintmax_t size = fs::file_size(file, failure);
    if (!failure && size > DayReader::MaxDayBytes) {
        error = "larger than a day's log can be (" + sizeText(size) + ")";
        return false;
    }
    const std::optional<FileIdentity> identity = fileIdentity(path);
    if (reader.bytesRead() > 0 &&
        ((!failure && size < reader.bytesRead()) || identity != reader.identity()))
        reader.restart();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = systemErrorText(errno);
        return false;
    }
    // Written over in place, it no longer holds the last bytes where they were.
    if (const std::string &last = reader.lastBytes(); !last.empty()) {
        std::string found(last.size(), '\0');
        in.seekg(static_cast<std::streamoff>(reader.bytesRead() - last.size()));
        in.read(found.data(), static_cast<std::streamsize>(found.size()));
        if (!in || found != last) {
            reader.restart();
            in.clear();
        }
    }
    reader.setIdentity(identity);
    in.seekg(static_cast<std::streamoff>(reader.bytesRead()));
    limit = std::min(limit,
                     DayReader::MaxDayBytes - std::min(DayReader::MaxDayBytes, reader.bytesRead()));
    std::string piece(Piece, '\0');
    while (in && limit > 0) {
        in.read(piece.data(), static_cast<std::streamsize>(std::min<std::uint64_t>(Piece, limit)));
        const auto got = static_cast<std::size_t>(in.gcount());
        reader.feed(std::string_view(piece.data(), got));
        limit -= got;
    }
    return true;
}

} // namespace wendle::report
