#include "logging/spool_format.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <map>

namespace wendle::spool {

namespace {

// The earlier version's tags: lines that start with a tab, which no time of
// day does.
constexpr std::string_view OldFolderTag = "\tfolder\t";
constexpr std::string_view OldDateTag = "\tdate\t";

std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i] == 'r' ? '\r' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string sealed(char kind, const std::string &body) {
    const std::string checked = std::string(1, kind) + ' ' + body;
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", crc32(checked));
    return std::string(1, kind) + ' ' + crc + ' ' + body + '\n';
}

// Takes the next space-ended field off text.
bool field(std::string_view &text, std::string_view &out) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos)
        return false;
    out = text.substr(0, space);
    text.remove_prefix(space + 1);
    return true;
}

template <typename Number> bool number(std::string_view text, Number &value, int base = 10) {
    const auto [end, failure] =
        std::from_chars(text.data(), text.data() + text.size(), value, base);
    return failure == std::errc() && end == text.data() + text.size() && !text.empty();
}

// One record of this format, checked; false when it cannot be read.
bool readRecord(std::string_view line, Record &record) {
    if (line.size() < 11 || line[1] != ' ' || line[10] != ' ')
        return false;
    std::uint32_t crc = 0;
    if (!number(line.substr(2, 8), crc, 16))
        return false;
    const std::string checked = std::string(1, line[0]) + ' ' + std::string(line.substr(11));
    if (crc32(checked) != crc)
        return false;
    std::string_view body = line.substr(11), id, date, size;
    switch (line[0]) {
    case 'F':
        record.kind = Record::Kind::Folder;
        if (!field(body, id) || !number(id, record.id))
            return false;
        record.text = unescaped(body);
        return true;
    case 'L':
        record.kind = Record::Kind::Line;
        if (!field(body, id) || !number(id, record.id) || !field(body, date) ||
            !parseDate(date, record.date) || body.empty())
            return false;
        record.text = unescaped(body);
        return true;
    case 'I':
        record.kind = Record::Kind::Intent;
        return field(body, id) && number(id, record.id) && field(body, date) &&
               parseDate(date, record.date) && number(body, record.size);
    default:
        return false;
    }
}

// The lines of text; a last one without its line feed was cut by a crash.
std::vector<std::string_view> splitLines(std::string_view text, bool &cut) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            cut = true;
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

Parsed parseCurrent(std::string_view text) {
    Parsed parsed;
    std::map<std::uint32_t, bool> named;
    const std::vector<std::string_view> lines = splitLines(text, parsed.cut);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Record record;
        if (!readRecord(lines[i], record) ||
            (record.kind != Record::Kind::Folder && !named.contains(record.id))) {
            parsed.unreadable.emplace_back(lines[i]);
            continue;
        }
        if (record.kind == Record::Kind::Folder)
            named[record.id] = true;
        parsed.records.push_back(std::move(record));
    }
    return parsed;
}

Parsed parseOld(std::string_view text) {
    Parsed parsed;
    std::uint32_t folders = 0;
    bool haveFolder = false, haveDate = false;
    LocalDate date;
    for (std::string_view line : splitLines(text, parsed.cut)) {
        // That version appended after a line a crash had cut: the cut part is
        // unreadable, and a tag written after it still names what follows.
        if (const std::size_t tab = line.find('\t'); tab != 0 && tab != std::string_view::npos) {
            parsed.unreadable.emplace_back(line.substr(0, tab));
            line.remove_prefix(tab);
        }
        if (line.starts_with(OldFolderTag)) {
            parsed.records.push_back(
                {Record::Kind::Folder, ++folders, {}, unescaped(line.substr(OldFolderTag.size()))});
            haveFolder = true;
        } else if (line.starts_with(OldDateTag)) {
            haveDate = parseDate(line.substr(OldDateTag.size()), date);
            if (!haveDate)
                parsed.unreadable.emplace_back(line);
        } else if (line.empty()) {
            continue;
        } else if (!haveFolder || !haveDate ||
                   line.find_first_of("\t\r") != std::string_view::npos) {
            // A line whose folder or date is unknown.
            parsed.unreadable.emplace_back(line);
        } else {
            parsed.records.push_back({Record::Kind::Line, folders, date, std::string(line)});
        }
    }
    return parsed;
}

} // namespace

std::string folderRecord(std::uint32_t id, const std::string &folder) {
    return sealed('F', std::to_string(id) + ' ' + escaped(folder));
}

std::string lineRecord(std::uint32_t id, const LocalDate &date, std::string_view line) {
    if (line.ends_with("\r\n"))
        line.remove_suffix(2);
    return sealed('L', std::to_string(id) + ' ' + isoDate(date) + ' ' + escaped(line));
}

std::string intentRecord(std::uint32_t id, const LocalDate &date, std::uint64_t size) {
    return sealed('I', std::to_string(id) + ' ' + isoDate(date) + ' ' + std::to_string(size));
}

Parsed parse(std::string_view spool) {
    if (spool.starts_with(Header))
        return parseCurrent(spool.substr(Header.size()));
    return parseOld(spool);
}

bool parseDate(std::string_view text, LocalDate &date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int y = 0, m = 0, d = 0;
    if (!number(text.substr(0, 4), y) || !number(text.substr(5, 2), m) ||
        !number(text.substr(8, 2), d) || m < 1 || m > 12 || d < 1)
        return false;
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > Days[m - 1] + (m == 2 && leap ? 1 : 0))
        return false;
    date = {y, m, d};
    return true;
}

} // namespace wendle::spool
