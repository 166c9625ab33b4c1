#include "logging/held_lines.h"

#include "logging/log_paths.h"
#include "logging/spool_format.h"

#include <algorithm>
#include <map>
#include <set>

namespace wendle {

namespace {

constexpr std::string_view LineEnd = "\r\n";

} // namespace

HeldLines::HeldLines(LogStore &store, std::string spoolPath)
    : m_store(store), m_spoolPath(std::move(spoolPath)) {}

HeldLines::~HeldLines() {
    if (m_owner)
        m_store.unlock(lockPath());
}

std::uint32_t HeldLines::folderIndex(const std::string &folder) {
    const auto found = std::find(m_folders.begin(), m_folders.end(), folder);
    if (found != m_folders.end())
        return static_cast<std::uint32_t>(found - m_folders.begin());
    m_folders.push_back(folder);
    m_perFolder.push_back(0);
    return static_cast<std::uint32_t>(m_folders.size() - 1);
}

std::size_t HeldLines::heldFor(const std::string &folder) const {
    const auto found = std::find(m_folders.begin(), m_folders.end(), folder);
    return found == m_folders.end() ? 0 : m_perFolder[std::size_t(found - m_folders.begin())];
}

std::vector<std::pair<std::string, std::size_t>>
HeldLines::waitingOtherThan(const std::string &folder) const {
    std::vector<std::pair<std::string, std::size_t>> waiting;
    for (std::size_t i = 0; i < m_folders.size(); ++i)
        if (m_perFolder[i] > 0 && m_folders[i] != folder)
            waiting.emplace_back(m_folders[i], m_perFolder[i]);
    return waiting;
}

void HeldLines::load() {
    std::string ignored;
    own(ignored);
}

bool HeldLines::own(std::string &error) {
    if (m_owner)
        return true;
    if (m_spoolPath.empty()) {
        error = "there is no folder of your own to keep them in";
        return false;
    }
    if (!m_store.lock(lockPath(), m_notOwnerReason)) {
        error = m_notOwnerReason;
        return false;
    }
    m_owner = true;
    takeOver();
    return true;
}

// The spool is always written anew once it is read: a record cut short by a
// crash is then gone before anything is appended after it.
void HeldLines::takeOver() {
    const std::optional<std::string> spool = m_store.read(m_spoolPath);
    if (!spool) {
        m_spoolStarted = false;
        m_spoolBehind = !m_lines.empty();
        if (m_spoolBehind) {
            std::string ignored;
            rewriteSpool(ignored);
        }
        return;
    }
    const spool::Parsed parsed = spool::parse(*spool);
    std::map<std::uint32_t, std::uint32_t> folders; // the spool's numbers to this run's
    std::vector<Line> loaded;
    std::vector<Intent> intents;
    for (const spool::Record &record : parsed.records) {
        switch (record.kind) {
        case spool::Record::Kind::Folder:
            folders[record.id] = folderIndex(record.text);
            break;
        case spool::Record::Kind::Line:
            loaded.push_back({folders[record.id], record.date, record.text + std::string(LineEnd)});
            break;
        case spool::Record::Kind::Intent:
            intents.push_back({folders[record.id], record.date, record.size});
            break;
        }
    }
    loaded = resolveIntents(std::move(loaded), intents);
    for (const Line &line : loaded)
        ++m_perFolder[line.folder];
    m_lines.insert(m_lines.begin(), std::make_move_iterator(loaded.begin()),
                   std::make_move_iterator(loaded.end()));

    if (!parsed.unreadable.empty()) {
        // Kept for the user to look at, never written into a day's file.
        std::string text;
        for (const std::string &record : parsed.unreadable)
            text.append(record) += '\n';
        if (m_store.append(setAsidePath(), text, true, m_setAsideError))
            m_setAsideError.clear();
        m_setAside += parsed.unreadable.size();
    }
    std::string ignored;
    rewriteSpool(ignored);
}

// An intent in the spool means a crash may have come while held lines were
// written to that file: those already there are not written again. They are
// there when the file, from the size it had, goes on with them in order. A
// last one cut short is written again whole (after a CR LF that ends the
// cut one, as every write to a day's file does). When the file goes on with
// anything else the lines are kept: written twice is better than lost.
std::vector<HeldLines::Line> HeldLines::resolveIntents(std::vector<Line> loaded,
                                                       const std::vector<Intent> &intents) {
    std::vector<bool> written(loaded.size(), false);
    for (const Intent &intent : intents) {
        const std::string path = dailyLogPath(m_folders[intent.folder], intent.date);
        const std::optional<std::string> file = m_store.read(path);
        if (!file || file->size() <= intent.size)
            continue;
        const std::string_view after = std::string_view(*file).substr(intent.size);
        // The CR LF that ended a line cut short before them.
        std::size_t at = after.starts_with(LineEnd) ? LineEnd.size() : 0;
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            if (written[i] || loaded[i].folder != intent.folder || loaded[i].date != intent.date)
                continue;
            const std::string &text = loaded[i].text;
            if (after.substr(at, text.size()) == text) {
                written[i] = true;
                at += text.size();
                continue;
            }
            break;
        }
    }
    std::vector<Line> kept;
    for (std::size_t i = 0; i < loaded.size(); ++i)
        if (!written[i])
            kept.push_back(std::move(loaded[i]));
    return kept;
}

std::string HeldLines::takeLoadReport() {
    if (m_setAside == 0)
        return {};
    std::string report = std::to_string(m_setAside) +
                         (m_setAside == 1 ? " held line could not be read and was"
                                          : " held lines could not be read and were") +
                         " set aside in\n" + setAsidePath() +
                         "\nand are not written to any log file.";
    if (!m_setAsideError.empty())
        report = std::to_string(m_setAside) +
                 " held lines could not be read, and could not be set aside in\n" + setAsidePath() +
                 "\n" + m_setAsideError;
    m_setAside = 0;
    return report;
}

bool HeldLines::rewriteSpool(std::string &error) {
    std::string text;
    std::vector<bool> named(m_folders.size(), false);
    if (!m_lines.empty()) {
        text = spool::Header;
        for (const Line &line : m_lines) {
            if (!named[line.folder]) {
                text += spool::folderRecord(line.folder, m_folders[line.folder]);
                named[line.folder] = true;
            }
            text += spool::lineRecord(line.folder, line.date, line.text);
        }
    }
    if (!m_store.replace(m_spoolPath, text, error)) {
        m_spoolBehind = true;
        return false;
    }
    m_spoolBehind = false;
    m_spoolStarted = !text.empty();
    m_spoolNames = std::move(named);
    m_lastIntent = {};
    return true;
}

bool HeldLines::hold(const std::string &folder, const LocalDate &date, const std::string &line,
                     std::string &error) {
    const std::uint32_t index = folderIndex(folder);
    m_lines.push_back({index, date, line});
    ++m_perFolder[index];
    if (!m_owner)
        return own(error) && !m_spoolBehind;
    // Appending after a failed write would leave a gap, or a torn record.
    if (m_spoolBehind)
        return rewriteSpool(error);
    std::string bytes = m_spoolStarted ? std::string() : std::string(spool::Header);
    m_spoolNames.resize(m_folders.size(), false);
    if (!m_spoolNames[index])
        bytes += spool::folderRecord(index, folder);
    bytes += spool::lineRecord(index, date, line);
    if (!m_store.append(m_spoolPath, bytes, true, error)) {
        m_spoolBehind = true;
        return false;
    }
    m_spoolStarted = true;
    m_spoolNames[index] = true;
    return true;
}

bool HeldLines::ready(std::string &error) {
    return own(error) && (!m_spoolBehind || rewriteSpool(error));
}

bool HeldLines::save(std::string &error) {
    if (!m_owner)
        return m_lines.empty() || (own(error) && !m_spoolBehind);
    return !m_spoolBehind || rewriteSpool(error);
}

void HeldLines::forget(const std::vector<std::pair<std::size_t, std::size_t>> &done) {
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
}

HeldLines::Flushed HeldLines::flush(const std::string &folder, Which which) {
    Flushed result;
    if (m_lines.empty())
        return result;
    // Intents go only into a spool that holds what memory does; one that
    // cannot be written gets none, and a crash may then write lines twice.
    if (m_owner && m_spoolBehind) {
        std::string ignored;
        rewriteSpool(ignored);
    }
    bool intents = m_owner && !m_spoolBehind && m_spoolStarted;
    std::set<std::uint32_t> refused;
    std::map<std::uint32_t, std::size_t> perFolder;
    std::vector<std::pair<std::size_t, std::size_t>> done; // the ranges of lines written
    std::size_t i = 0;
    while (i < m_lines.size()) {
        // A run of lines for one file goes in one write.
        std::size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].folder == m_lines[i].folder &&
               m_lines[end].date == m_lines[i].date)
            ++end;
        const std::uint32_t index = m_lines[i].folder;
        const bool chosen = (m_folders[index] == folder) == (which == Which::Only);
        std::size_t written = 0;
        if (chosen && !refused.contains(index)) {
            const std::string path = dailyLogPath(m_folders[index], m_lines[i].date);
            std::string error;
            if (intents) {
                const Intent intent{index, m_lines[i].date, m_store.size(path).value_or(0)};
                // Through an outage the file stays as it was: one intent does.
                if (intent != m_lastIntent) {
                    if (m_store.append(m_spoolPath,
                                       spool::intentRecord(index, intent.date, intent.size), true,
                                       error))
                        m_lastIntent = intent;
                    else
                        intents = false, m_spoolBehind = true;
                }
            }
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
                refused.insert(index);
                if (result.failedPath.empty()) {
                    result.failedPath = path;
                    result.error = error;
                }
            }
        }
        if (written > 0) {
            done.emplace_back(i, i + written);
            perFolder[index] += written;
        }
        result.written += written;
        m_perFolder[index] -= written;
        i = end;
    }
    // Through an outage nothing is written, and nothing moves.
    if (result.written == 0)
        return result;
    for (const auto &[index, count] : perFolder)
        result.writtenTo.emplace_back(m_folders[index], count);
    forget(done);
    if (m_owner) {
        // Until the spool is written anew its intents keep a restart from
        // writing these lines twice.
        std::string ignored;
        rewriteSpool(ignored);
    }
    return result;
}

} // namespace wendle
