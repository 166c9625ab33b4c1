#include "logging/held_lines.h"

#include "logging/log_paths.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string_view>
#include <utility>

namespace wendle {

namespace {

// The spool is one held line a line, without its CR LF, after lines that
// name the folder and the date of those that follow; these start with a tab,
// which no time of day does. A folder's backslashes and line feeds are
// escaped.
constexpr std::string_view FolderTag = "\tfolder\t";
constexpr std::string_view DateTag = "\tdate\t";
constexpr std::string_view LineEnd = "\r\n";

// Rewriting the whole spool costs a pass over every held line: while the
// spool cannot be written, it is tried again only this often.
constexpr std::size_t HoldsBetweenRewrites = 60;

std::string escaped(const std::string &folder) {
    std::string text;
    for (char c : folder) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\n')
            text += "\\n";
        else
            text += c;
    }
    return text;
}

std::string unescaped(std::string_view text) {
    std::string folder;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            folder += text[i] == 'n' ? '\n' : text[i];
        } else {
            folder += text[i];
        }
    }
    return folder;
}

bool parseDate(std::string_view text, LocalDate &date) {
    int y = 0, m = 0, d = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3 || m < 1 || m > 12 || d < 1 ||
        d > 31)
        return false;
    date = {y, m, d};
    return true;
}

struct SpoolState {
    std::uint32_t folder = UINT32_MAX;
    LocalDate date{0, 0, 0};
};

void appendRecord(std::string &out, SpoolState &state, std::uint32_t folder, const LocalDate &date,
                  const std::string &folderText, const std::string &line) {
    if (folder != state.folder) {
        out.append(FolderTag).append(escaped(folderText)) += '\n';
        state.folder = folder;
    }
    if (date != state.date) {
        out.append(DateTag).append(isoDate(date)) += '\n';
        state.date = date;
    }
    std::string_view text = line;
    if (text.ends_with(LineEnd))
        text.remove_suffix(LineEnd.size());
    out.append(text) += '\n';
}

} // namespace

HeldLines::HeldLines(LogStore &store, std::string spoolPath)
    : m_store(store), m_spoolPath(std::move(spoolPath)) {}

std::uint32_t HeldLines::folderIndex(const std::string &folder) {
    const auto found = std::find(m_folders.begin(), m_folders.end(), folder);
    if (found != m_folders.end())
        return static_cast<std::uint32_t>(found - m_folders.begin());
    m_folders.push_back(folder);
    m_perFolder.push_back(0);
    return static_cast<std::uint32_t>(m_folders.size() - 1);
}

bool HeldLines::holdsFor(const std::string &folder) const {
    const auto found = std::find(m_folders.begin(), m_folders.end(), folder);
    return found != m_folders.end() && m_perFolder[std::size_t(found - m_folders.begin())] > 0;
}

void HeldLines::load() {
    const std::optional<std::string> spool = m_store.read(m_spoolPath);
    if (!spool)
        return;
    std::string_view text = *spool;
    std::optional<std::uint32_t> folder;
    std::optional<LocalDate> date;
    // A last line without its end was cut by a crash while it was written.
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            break;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        LocalDate parsed;
        if (line.starts_with(FolderTag)) {
            folder = folderIndex(unescaped(line.substr(FolderTag.size())));
        } else if (line.starts_with(DateTag)) {
            date = parseDate(line.substr(DateTag.size()), parsed) ? std::optional(parsed)
                                                                  : std::nullopt;
        } else if (folder && date && !line.empty()) {
            m_lines.push_back({*folder, *date, std::string(line) + std::string(LineEnd)});
            ++m_perFolder[*folder];
        }
    }
    m_spoolFolder = UINT32_MAX; // the next line names its folder and date again
}

std::string HeldLines::record(const Line &line) {
    std::string out;
    SpoolState state{m_spoolFolder, m_spoolDate};
    appendRecord(out, state, line.folder, line.date, m_folders[line.folder], line.text);
    return out;
}

std::string HeldLines::spoolText(std::size_t from) const {
    std::string out;
    SpoolState state;
    for (std::size_t i = from; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        appendRecord(out, state, line.folder, line.date, m_folders[line.folder], line.text);
    }
    return out;
}

bool HeldLines::rewriteSpool(std::string &error) {
    m_holdsSinceRewrite = 0;
    if (!m_store.replace(m_spoolPath, spoolText(0), error))
        return false;
    m_spoolBehind = false;
    m_spoolFolder = m_lines.empty() ? UINT32_MAX : m_lines.back().folder;
    m_spoolDate = m_lines.empty() ? LocalDate{0, 0, 0} : m_lines.back().date;
    return true;
}

bool HeldLines::hold(const std::string &folder, const LocalDate &date, const std::string &line,
                     std::string &error) {
    const std::uint32_t index = folderIndex(folder);
    m_lines.push_back({index, date, line});
    ++m_perFolder[index];
    if (m_spoolBehind) {
        // Appending now would leave a gap in the spool's order.
        if (++m_holdsSinceRewrite < HoldsBetweenRewrites) {
            error = "not written since it last failed";
            return false;
        }
        return rewriteSpool(error);
    }
    if (!m_store.append(m_spoolPath, record(m_lines.back()), true, error)) {
        m_spoolBehind = true;
        return false;
    }
    m_spoolFolder = index;
    m_spoolDate = date;
    return true;
}

HeldLines::Flushed HeldLines::flush() {
    Flushed result;
    std::set<std::uint32_t> refused;
    std::vector<std::pair<std::size_t, std::size_t>> done; // the ranges of lines written
    std::size_t i = 0;
    while (i < m_lines.size()) {
        // A run of lines for one file goes in one write.
        std::size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].folder == m_lines[i].folder &&
               m_lines[end].date == m_lines[i].date)
            ++end;
        const std::uint32_t folder = m_lines[i].folder;
        std::size_t written = 0;
        if (!refused.contains(folder)) {
            const std::string path = dailyLogPath(m_folders[folder], m_lines[i].date);
            std::string error;
            // The first line alone tells whether the file takes lines again,
            // without putting the whole run together on every tick of an outage.
            if (m_store.append(path, m_lines[i].text, false, error)) {
                written = 1;
                std::string rest;
                for (std::size_t j = i + 1; j < end; ++j)
                    rest += m_lines[j].text;
                if (rest.empty() || m_store.append(path, rest, false, error))
                    written = end - i;
            }
            if (written < end - i) {
                refused.insert(folder);
                if (result.failedPath.empty()) {
                    result.failedPath = path;
                    result.error = error;
                }
            }
        }
        if (written > 0)
            done.emplace_back(i, i + written);
        result.written += written;
        m_perFolder[folder] -= written;
        i = end;
    }
    // Through an outage nothing is written, and nothing moves.
    if (result.written == 0)
        return result;
    std::deque<Line> kept;
    std::size_t next = 0;
    for (const auto &[from, to] : done) {
        for (std::size_t j = next; j < from; ++j)
            kept.push_back(std::move(m_lines[j]));
        next = to;
    }
    for (std::size_t j = next; j < m_lines.size(); ++j)
        kept.push_back(std::move(m_lines[j]));
    m_lines = std::move(kept);
    std::string ignored;
    // Until the spool is rewritten, a restart would write these lines twice.
    if (!rewriteSpool(ignored))
        m_spoolBehind = true;
    return result;
}

} // namespace wendle
