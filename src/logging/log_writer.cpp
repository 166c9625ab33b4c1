#include "logging/log_writer.h"

#include "logging/log_paths.h"
#include "logging/log_tail.h"

namespace wendle {

LogWriter::LogWriter(LogStore &store, const std::string &spoolPath, WriterEvents events,
                     PostToWindow deliver)
    : m_store(store), m_held(store, spoolPath), m_events(std::move(events)),
      m_deliver(std::move(deliver)) {}

void LogWriter::run(const LogJob &job) {
    m_folder = job.folder;
    switch (job.kind) {
    case LogJob::Kind::Line:
        writeLine(job.date, job.line);
        break;
    case LogJob::Kind::Flush:
        // A folder that came back since the last tick takes its lines now.
        flushHeld();
        noteRecovery();
        break;
    case LogJob::Kind::ReadRecent:
        readRecent(dailyLogPath(job.folder, job.date));
        break;
    }
}

void LogWriter::report(const std::string &message) const {
    m_deliver([failed = m_events.failed, message] {
        if (failed)
            failed(message);
    });
}

void LogWriter::notify(bool trouble, const std::string &text) const {
    m_deliver([noticed = m_events.noticed, notice = LoggingNotice{trouble, text}] {
        if (noticed)
            noticed(notice);
    });
}

void LogWriter::failAndStop(const std::string &message) {
    m_deliver([mustStop = m_events.mustStop, message] {
        if (mustStop)
            mustStop(message);
    });
}

HeldLines::Flushed LogWriter::flushHeld() {
    if (m_held.empty())
        return {};
    HeldLines::Flushed flushed = m_held.flush();
    m_writtenSinceTrouble += flushed.written;
    return flushed;
}

// Also when lines an earlier run held are written by this one.
void LogWriter::noteRecovery() {
    if ((!m_trouble && m_writtenSinceTrouble == 0) || !m_held.empty())
        return;
    const std::size_t written = m_writtenSinceTrouble;
    m_trouble = false;
    m_writtenSinceTrouble = 0;
    notify(false, "The log folder takes lines again: " + std::to_string(written) +
                      (written == 1 ? " held line was" : " held lines were") + " written to\n" +
                      m_folder);
}

// Each line goes into the file that today's path names at this moment, after
// every line still held for the folder; a line that cannot be written is held.
bool LogWriter::writeLine(const LocalDate &date, const std::string &line) {
    const HeldLines::Flushed flushed = flushHeld();
    std::string path = dailyLogPath(m_folder, date);
    std::string reason;
    bool written = false;
    if (m_held.holdsFor(m_folder)) {
        // The folder's oldest held line was just refused: that says why.
        path = flushed.failedPath;
        reason = flushed.error;
    } else {
        written = m_store.append(path, line, false, reason);
    }
    if (written) {
        noteRecovery();
        return true;
    }
    std::string where = " in\n" + m_held.spoolPath();
    if (!line.empty()) {
        if (m_held.full()) {
            failAndStop("Could not write to the log file\n" + path + "\n" + reason + "\n\n" +
                        std::to_string(m_held.size()) + " lines are held in\n" +
                        m_held.spoolPath() +
                        "\nand no more can be held, so logging has stopped. They are written "
                        "when logging starts again and the folder takes them.");
            return false;
        }
        std::string spoolError;
        if (!m_held.hold(m_folder, date, line, spoolError))
            where =
                " in memory only, as\n" + m_held.spoolPath() + "\ncannot be written: " + spoolError;
    }
    if (!m_trouble) {
        m_trouble = true;
        notify(true, "Could not write to the log file\n" + path + "\n" + reason +
                         "\n\nLogging goes on: lines are held" + where +
                         "\nand written as soon as the folder takes them again.");
    }
    return false;
}

void LogWriter::readRecent(const std::string &path) {
    // Every line written so far is on disk already: no file is held open.
    const LogTail tail = readLogTail(path, RecentLogChars);
    // Nothing logged yet today reads as an empty log.
    m_deliver([read = m_events.recentLogRead, text = tail.text] {
        if (read)
            read(text);
    });
    if (tail.status == LogTail::Status::Failed)
        report("Could not read the log file\n" + path + "\n" + tail.error);
}

} // namespace wendle
