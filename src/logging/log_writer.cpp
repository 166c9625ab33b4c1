#include "logging/log_writer.h"

#include "logging/log_paths.h"
#include "logging/log_tail.h"

namespace wendle {

namespace {

constexpr std::int64_t OtherFoldersRetryMs = 60000;

} // namespace

LogWriter::LogWriter(LogStore &store, const std::string &spoolPath, WriterEvents events,
                     PostToWindow deliver)
    : m_store(store), m_held(store, spoolPath), m_events(std::move(events)),
      m_deliver(std::move(deliver)) {}

void LogWriter::run(const LogJob &job) {
    if (job.folder != m_folder)
        folderChanged(job.folder);
    switch (job.kind) {
    case LogJob::Kind::Line:
        writeLine(job.date, job.line);
        // Start's job: the user hears of records of the spool set aside.
        if (job.line.empty())
            if (const std::string loaded = m_held.takeLoadReport(); !loaded.empty())
                report(loaded);
        break;
    case LogJob::Kind::Flush:
        // A folder that came back since the last tick takes its lines now.
        // Only lines written tell that it is back: after a Start that found
        // it missing, none may be held yet.
        if (flushCurrent().written > 0)
            noteRecovery();
        retryOtherFolders(job.at);
        [[fallthrough]];
    case LogJob::Kind::Keep: {
        std::string ignored;
        m_held.save(ignored);
        break;
    }
    case LogJob::Kind::RetryOthers:
        retryOtherFolders(job.at);
        break;
    case LogJob::Kind::ReadRecent:
        readRecent(dailyLogPath(job.folder, job.date));
        break;
    }
}

// Lines held for the folder before stay held for it, without keeping up the
// notice that lines are held.
void LogWriter::folderChanged(const std::string &folder) {
    const std::string left = m_folder;
    m_folder = folder;
    m_writtenSinceTrouble = 0;
    if (m_trouble) {
        m_trouble = false;
        notify(false, "Lines held for " + left + " wait for it and are written to it when it " +
                          "takes them again." + othersWaitingText());
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

HeldLines::Flushed LogWriter::flushCurrent() {
    if (!m_held.holdsFor(m_folder))
        return {};
    HeldLines::Flushed flushed = m_held.flush(m_folder, HeldLines::Which::Only);
    m_writtenSinceTrouble += flushed.written;
    return flushed;
}

std::string LogWriter::othersWaitingText() const {
    std::string text;
    for (const auto &[folder, count] : m_held.waitingOtherThan(m_folder))
        text += "\n" + std::to_string(count) + (count == 1 ? " line waits" : " lines wait") +
                " for " + folder;
    return text.empty() ? text : "\n\nHeld for folders used before:" + text;
}

// Lines held for a folder left behind never delay the current one's: they
// are tried after its line, and no more often than this, since that folder
// may be a share that takes long to answer.
void LogWriter::retryOtherFolders(std::int64_t now) {
    if (m_held.waitingOtherThan(m_folder).empty())
        return;
    if (m_triedOthers && now >= m_othersTriedAt && now - m_othersTriedAt < OtherFoldersRetryMs)
        return;
    m_triedOthers = true;
    m_othersTriedAt = now;
    const HeldLines::Flushed flushed = m_held.flush(m_folder, HeldLines::Which::AllBut);
    for (const auto &[folder, count] : flushed.writtenTo)
        notify(m_trouble, "A folder used before takes lines again: " + std::to_string(count) +
                              (count == 1 ? " held line was" : " held lines were") +
                              " written to\n" + folder + othersWaitingText());
}

// Also when lines an earlier run held are written by this one.
void LogWriter::noteRecovery() {
    if ((!m_trouble && m_writtenSinceTrouble == 0) || m_held.holdsFor(m_folder))
        return;
    const std::size_t written = m_writtenSinceTrouble;
    m_trouble = false;
    m_writtenSinceTrouble = 0;
    notify(false, "The log folder takes lines again: " + std::to_string(written) +
                      (written == 1 ? " held line was" : " held lines were") + " written to\n" +
                      m_folder + othersWaitingText());
}

// Each line goes into the file that today's path names at this moment, after
// every line still held for the folder; a line that cannot be written is held.
bool LogWriter::writeLine(const LocalDate &date, const std::string &line) {
    const HeldLines::Flushed flushed = flushCurrent();
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
    if (written)
        noteRecovery();
    else if (!holdLine(date, line, path, reason))
        return false;
    return written;
}

// False when no more can be held, and logging has stopped.
bool LogWriter::holdLine(const LocalDate &date, const std::string &line, const std::string &path,
                         const std::string &reason) {
    if (!line.empty() && m_held.fullFor(m_folder)) {
        failAndStop("Could not write to the log file\n" + path + "\n" + reason + "\n\n" +
                    std::to_string(m_held.heldFor(m_folder)) + " lines are held in\n" +
                    m_held.spoolPath() +
                    "\nand no more can be held, so logging has stopped. They are written "
                    "when logging starts again and the folder takes them.");
        return false;
    }
    // At Start there is no line yet, only the question where lines will go.
    std::string where = " in\n" + m_held.spoolPath();
    std::string spoolError;
    if (!(line.empty() ? m_held.ready(spoolError) : m_held.hold(m_folder, date, line, spoolError)))
        where = m_held.spoolPath().empty() ? " in memory only, as " + spoolError
                                           : " in memory only, as\n" + m_held.spoolPath() +
                                                 "\ncannot be written: " + spoolError;
    if (!m_trouble) {
        m_trouble = true;
        notify(true, "Could not write to the log file\n" + path + "\n" + reason +
                         "\n\nLogging goes on: lines are held" + where +
                         "\nand written as soon as the folder takes them again." +
                         othersWaitingText());
    }
    return true;
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
