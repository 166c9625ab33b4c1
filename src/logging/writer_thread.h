#pragma once

#include "logging/log_writer.h"

#include <chrono>
#include <memory>
#include <thread>

namespace wendle {

// Where the writer's jobs run. Given a way to post to the window, on a thread
// of their own, one at a time in the order given: a disk or a network share
// that does not answer (a hard-mounted NFS or SMB share can keep a write
// waiting for minutes) then never holds up the window, which goes on ticking,
// repainting and answering Stop and Exit while its lines wait in order. Given
// none, each job runs at once on the caller's thread, as tests want.
class WriterThread {
public:
    // Lines that may wait for a writer that does not answer: a day's at one a
    // second. Beyond that, logging stops; the lines waiting are kept.
    static constexpr std::size_t MaxWaiting = 24 * 3600;
    // How long the end of the program waits for a writer that does not
    // answer; what still waits then is held in the spool for the next start.
    static constexpr std::chrono::milliseconds ExitPatience{3000};

    WriterThread(LogStore &store, const std::string &spoolPath, WriterEvents events,
                 PostToWindow postToWindow);
    // Waits for the jobs given so far, at most ExitPatience.
    ~WriterThread();
    // The same, before the program's end, for a system that may end the
    // process as soon as it is told the session ends; nothing is taken after.
    void finish();
    WriterThread(const WriterThread &) = delete;
    WriterThread &operator=(const WriterThread &) = delete;

    // False, and the job not taken, when MaxWaiting lines wait already.
    bool post(LogJob job);
    // A line, and behind it a try of the folders left behind, given at once:
    // the writer wakes once a tick.
    bool postLine(LogJob line);

    // Only while no job runs: what the writer holds.
    const HeldLines &heldLines() const;
    const std::string &spoolPath() const;

private:
    struct Shared;
    bool post(LogJob job, bool retryOthersAfter);
    bool queue(LogJob job);
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    bool m_finished = false;
};

} // namespace wendle
