#include "report/day_reader.h"

#include "logging/system_error.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace wendle::report {

namespace {

constexpr std::size_t Piece = 1 << 20;

} // namespace

DayReader::DayReader(const LocalDate &date, const DayHalfMarkers &markers)
    : m_date(date), m_markers(&markers), m_jump(clockJumpOn(date)), m_lines(m_jump) {}

void DayReader::addLine(std::string_view line, WriterLines &lines, std::vector<long> &unreadable,
                        long number) const {
    if (const std::optional<int> at = parseTimeOfDay(line, *m_markers))
        lines.add(*at);
    else if (unreadable.size() < MaxListedLines)
        unreadable.push_back(number);
}

void DayReader::feed(std::string_view bytes) {
    m_bytes += bytes.size();
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) {
            m_partial.append(bytes);
            return;
        }
        ++m_count;
        if (m_partial.empty()) {
            addLine(bytes.substr(0, end), m_lines, m_unreadable, m_count);
        } else {
            m_partial.append(bytes.substr(0, end));
            addLine(m_partial, m_lines, m_unreadable, m_count);
            m_partial.clear();
        }
        bytes.remove_prefix(end + 1);
    }
}

DayRecord DayReader::record() const {
    DayRecord day{m_date, {}, m_unreadable, {}};
    if (m_partial.empty()) {
        day.stretches = stretchesOfWriters(m_lines, m_jump, &day.beforeMidnight);
    } else {
        // The line being written as the file was read.
        WriterLines lines = m_lines;
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
    if (!failure && size < reader.bytesRead())
        reader.restart();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = systemErrorText(errno);
        return false;
    }
    in.seekg(static_cast<std::streamoff>(reader.bytesRead()));
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
