#include "logging/writer_thread.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <vector>

namespace wendle {

namespace {

// The store as the writer sees it: once the program has given up waiting for
// it at exit, a writer that wakes up touches no file any more, so that it
// cannot undo the spool the exit wrote.
class StoreUntilAbandoned final : public LogStore {
public:
    StoreUntilAbandoned(LogStore &store, const std::atomic<bool> &abandoned)
        : m_store(store), m_abandoned(abandoned) {}

    bool append(const std::string &path, const std::string &bytes, bool makeFolder,
                std::string &error) override {
        if (m_abandoned)
            return ended(error);
        return m_store.append(path, bytes, makeFolder, error);
    }
    std::optional<std::string> read(const std::string &path) override {
        if (m_abandoned)
            return std::nullopt;
        return m_store.read(path);
    }
    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        if (m_abandoned)
            return ended(error);
        return m_store.replace(path, bytes, error);
    }
    std::optional<std::uint64_t> size(const std::string &path) override {
        if (m_abandoned)
            return std::nullopt;
        return m_store.size(path);
    }
    // The lock stays with the process until it ends, abandoned or not: the
    // lines held at exit go into the spool under it.
    bool lock(const std::string &path, std::string &error) override {
        if (m_abandoned)
            return ended(error);
        return m_store.lock(path, error);
    }
    void unlock(const std::string &path) override {
        if (!m_abandoned)
            m_store.unlock(path);
    }

private:
    static bool ended(std::string &error) {
        error = "the program has ended";
        return false;
    }
    LogStore &m_store;
    const std::atomic<bool> &m_abandoned;
};

// The store for the lines held at exit. It touches only the program's own
// files: a day's file that the spool's records name may lie on the share
// that does not answer (its lines are then kept, to be written at the next
// start, where they may be found there already: a repeated second at worst,
// never a line lost). A lock the stuck writer took for this process is
// neither taken again (a second taker within one process is refused) nor
// given up.
class ExitStore final : public LogStore {
public:
    ExitStore(LogStore &store, std::string ownFiles, bool locked)
        : m_store(store), m_ownFiles(std::move(ownFiles)), m_locked(locked) {}
    bool append(const std::string &path, const std::string &bytes, bool own,
                std::string &error) override {
        return m_store.append(path, bytes, own, error);
    }
    std::optional<std::string> read(const std::string &path) override {
        return path.starts_with(m_ownFiles) ? m_store.read(path) : std::nullopt;
    }
    std::optional<std::uint64_t> size(const std::string &path) override {
        return path.starts_with(m_ownFiles) ? m_store.size(path) : std::nullopt;
    }
    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        return m_store.replace(path, bytes, error);
    }
    bool lock(const std::string &path, std::string &error) override {
        return m_locked || m_store.lock(path, error);
    }
    void unlock(const std::string &path) override {
        if (!m_locked)
            m_store.unlock(path);
    }

private:
    LogStore &m_store;
    const std::string m_ownFiles;
    const bool m_locked;
};

// Lines the writer never got to, in the spool where the next start takes
// them over (with what the stuck writer put there already). The spool's own
// disk may not answer either: the program then ends without them rather
// than hang.
void holdAtExit(LogStore &realStore, const std::string &spoolPath, bool owner,
                std::vector<LogJob> jobs) {
    std::erase_if(
        jobs, [](const LogJob &job) { return job.kind != LogJob::Kind::Line || job.line.empty(); });
    if (jobs.empty())
        return;
    std::packaged_task<void()> task([&realStore, spoolPath, owner, jobs = std::move(jobs)] {
        ExitStore store(realStore, spoolPath, owner);
        HeldLines spool(store, spoolPath);
        spool.load();
        std::string error;
        for (const LogJob &job : jobs)
            spool.hold(job.folder, job.date, job.line, error);
    });
    std::future<void> done = task.get_future();
    std::thread(std::move(task)).detach();
    done.wait_for(WriterThread::ExitPatience);
}

} // namespace

struct WriterThread::Shared {
    Shared(LogStore &realStore, const std::string &spool, WriterEvents events, PostToWindow post)
        : store(realStore), spoolPath(spool), guarded(realStore, abandoned),
          postToWindow(std::move(post)),
          writer(guarded, spool, std::move(events),
                 [this](std::function<void()> event) { deliver(std::move(event)); }) {}

    void deliver(std::function<void()> event) {
        if (!postToWindow) {
            event();
            return;
        }
        // Nothing reaches a window that is going away.
        std::lock_guard lock(mutex);
        if (windowOpen)
            postToWindow(std::move(event));
    }

    void loop() {
        writer.load();
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return !jobs.empty() || ending; });
            if (jobs.empty() || abandoned)
                return;
            running = std::move(jobs.front());
            jobs.pop_front();
            lines -= running->kind == LogJob::Kind::Line;
            retryQueued = retryQueued && running->kind != LogJob::Kind::RetryOthers;
            lock.unlock();
            writer.run(*running);
            lock.lock();
            running.reset();
            idle.notify_all();
        }
    }

    LogStore &store;
    const std::string spoolPath;
    std::atomic<bool> abandoned{false};
    StoreUntilAbandoned guarded;
    const PostToWindow postToWindow;
    LogWriter writer;

    std::mutex mutex;
    std::condition_variable wake; // a job came, or the end
    std::condition_variable idle; // a job is done
    std::deque<LogJob> jobs;
    std::size_t lines = 0;    // the line jobs among them
    bool retryQueued = false; // and whether a RetryOthers job is
    std::optional<LogJob> running;
    bool ending = false;
    bool windowOpen = true;
};

WriterThread::WriterThread(LogStore &store, const std::string &spoolPath, WriterEvents events,
                           PostToWindow postToWindow)
    : m_shared(
          std::make_shared<Shared>(store, spoolPath, std::move(events), std::move(postToWindow))) {
    if (!m_shared->postToWindow) {
        m_shared->writer.load();
        return;
    }
    // The thread keeps what it works on alive, also when the program ends
    // without waiting for it.
    m_thread = std::thread([shared = m_shared] { shared->loop(); });
}

WriterThread::~WriterThread() {
    finish();
}

void WriterThread::finish() {
    if (!m_thread.joinable())
        return;
    m_finished = true;
    Shared &shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    shared.windowOpen = false;
    shared.ending = true;
    shared.wake.notify_all();
    if (shared.idle.wait_for(lock, ExitPatience,
                             [&] { return shared.jobs.empty() && !shared.running; })) {
        lock.unlock();
        m_thread.join();
        return;
    }
    // The writer is stuck in a write that does not return: the line it is
    // writing and those after it go into the spool (the line in flight may
    // then reach its file twice, a repeated second the report counts once).
    std::vector<LogJob> left;
    if (shared.running)
        left.push_back(*shared.running);
    left.insert(left.end(), std::make_move_iterator(shared.jobs.begin()),
                std::make_move_iterator(shared.jobs.end()));
    shared.jobs.clear();
    shared.abandoned = true;
    lock.unlock();
    m_thread.detach();
    holdAtExit(shared.store, shared.spoolPath, shared.writer.heldLines().owner(), std::move(left));
}

bool WriterThread::post(LogJob job) {
    return post(std::move(job), false);
}

bool WriterThread::postLine(LogJob line) {
    return post(std::move(line), true);
}

bool WriterThread::post(LogJob job, bool retryOthersAfter) {
    Shared &shared = *m_shared;
    // The program is ending: what the writer was given is written or held.
    if (m_finished)
        return true;
    LogJob retry{LogJob::Kind::RetryOthers, job.folder, job.date, {}, job.at};
    if (!m_thread.joinable()) {
        shared.writer.run(job);
        if (retryOthersAfter)
            shared.writer.run(retry);
        return true;
    }
    std::unique_lock lock(shared.mutex);
    if (!queue(std::move(job)))
        return false;
    if (retryOthersAfter)
        queue(std::move(retry));
    // Told after the lock is given up, so that the writer does not wake only
    // to wait for it.
    lock.unlock();
    shared.wake.notify_one();
    return true;
}

// Under the lock.
bool WriterThread::queue(LogJob job) {
    Shared &shared = *m_shared;
    // Clicks on Show Recent Log while the writer is busy need one read, after
    // the lines of the last click.
    if (job.kind == LogJob::Kind::ReadRecent)
        std::erase_if(shared.jobs,
                      [](const LogJob &queued) { return queued.kind == LogJob::Kind::ReadRecent; });
    // Folders left behind need one more try, whatever waits before it.
    if (job.kind == LogJob::Kind::RetryOthers && shared.retryQueued)
        return true;
    shared.retryQueued = shared.retryQueued || job.kind == LogJob::Kind::RetryOthers;
    if (job.kind == LogJob::Kind::Line && shared.lines++ >= MaxWaiting) {
        --shared.lines;
        return false;
    }
    shared.jobs.push_back(std::move(job));
    return true;
}

const HeldLines &WriterThread::heldLines() const {
    return m_shared->writer.heldLines();
}

const std::string &WriterThread::spoolPath() const {
    return m_shared->spoolPath;
}

} // namespace wendle
