#pragma once

#include "logging/held_lines.h"
#include "logging/local_time.h"
#include "logging/log_store.h"

#include <functional>
#include <string>

namespace wendle {

// Told without waiting for the user: lines started to be held (trouble), or
// every held line has been written (trouble over).
struct LoggingNotice {
    bool trouble = false;
    std::string text;
};

// One piece of work for the writer, taken by value so that the window may
// change its folder meanwhile.
struct LogJob {
    enum class Kind {
        Line,       // the line (empty: only the file made) after the folder's held lines
        Flush,      // the held lines given another try (Stop)
        ReadRecent, // the tail of the day's file read for the window
        Keep,       // the spool written if it lacks held lines (Exit)
        // Lines held for folders left behind given another try, as a job of
        // its own: a line already written is never in a job that waits for
        // such a folder, and so never held again at exit.
        RetryOthers,
    };
    Kind kind = Kind::Line;
    std::string folder;
    LocalDate date{0, 0, 0};
    std::string line;
    // Wall-clock milliseconds when the job was given.
    std::int64_t at = 0;
};

// What the writer tells the window. Each is called through the writer's
// delivery, so on the window's thread.
struct WriterEvents {
    std::function<void(const LoggingNotice &notice)> noticed;
    // No more lines can be held: logging has to stop, and the user be told.
    std::function<void(const std::string &message)> mustStop;
    std::function<void(const std::string &text)> recentLogRead;
    std::function<void(const std::string &message)> failed;
};

// Hands a function to the window's thread, to be run there soon, in the
// order given: each front end posts it through its own event loop.
using PostToWindow = std::function<void(std::function<void()>)>;

// The writing half of the logging control: each line into the file that its
// day's path names, after every line still held for its folder; a line that
// cannot be written is held. It runs one job at a time and knows nothing of
// threads: whoever calls run() is the writer's only thread.
class LogWriter {
public:
    // What Show Recent Log reads of the day's file, in characters.
    static constexpr std::size_t RecentLogChars = 32000;

    // Every event goes through deliver.
    LogWriter(LogStore &store, const std::string &spoolPath, WriterEvents events,
              PostToWindow deliver);
    LogWriter(const LogWriter &) = delete;
    LogWriter &operator=(const LogWriter &) = delete;

    // Takes over what an earlier run held in the spool.
    void load() { m_held.load(); }
    void run(const LogJob &job);

    const HeldLines &heldLines() const { return m_held; }

private:
    void folderChanged(const std::string &folder);
    bool writeLine(const LocalDate &date, const std::string &line);
    bool holdLine(const LocalDate &date, const std::string &line, const std::string &path,
                  const std::string &reason);
    HeldLines::Flushed flushCurrent();
    void retryOtherFolders(std::int64_t now);
    std::string othersWaitingText() const;
    void noteRecovery();
    void readRecent(const std::string &path);
    void failAndStop(const std::string &message);
    void report(const std::string &message) const;
    void notify(bool trouble, const std::string &text) const;

    LogStore &m_store;
    HeldLines m_held;
    WriterEvents m_events;
    PostToWindow m_deliver;
    // The folder of the job being run.
    std::string m_folder;
    // Between the notice that lines are held and the one that they are
    // written; both are about the current folder only.
    bool m_trouble = false;
    std::size_t m_writtenSinceTrouble = 0;
    // When lines held for other folders were last tried (wall-clock ms).
    bool m_triedOthers = false;
    std::int64_t m_othersTriedAt = 0;
};

} // namespace wendle
