#include "logging/log_store.h"

#include "logging/daily_log_file.h"
#include "logging/log_paths.h"
#include "logging/log_tail.h"
#include "logging/own_files.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace wendle {

namespace {

namespace fs = std::filesystem;

// The program's paths are UTF-8 on every system.
fs::path pathOf(const std::string &utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string folderOf(const std::string &path) {
    const std::size_t separator = path.find_last_of(PathSeparator);
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

// A file renamed over or deleted while a line went into it is given the line
// again; one that keeps being replaced is given up on for this time.
constexpr int WritesWhileReplaced = 3;

class SystemLogStore final : public LogStore {
public:
    bool append(const std::string &path, const std::string &bytes, bool own,
                std::string &error) override {
        if (own && !prepareOwnFolder(folderOf(path), error))
            return false;
        for (int tries = 0; tries < WritesWhileReplaced; ++tries) {
            DailyLogFile file;
            if (!file.open(path, error, own ? DailyLogFile::Kind::Own : DailyLogFile::Kind::Shared))
                return false;
            if (bytes.empty())
                return true;
            if (!file.append(bytes, error))
                return false;
            if (file.stillNamed())
                return true;
        }
        error = "it was replaced each time it was written";
        return false;
    }

    std::optional<std::string> read(const std::string &path) override {
        FileEnd file = readFileEnd(path, std::size_t(1) << 40);
        if (file.status != LogTail::Status::Read)
            return std::nullopt;
        return std::move(file.bytes);
    }

    std::optional<std::uint64_t> size(const std::string &path) override {
        std::error_code failure;
        const std::uintmax_t bytes = fs::file_size(pathOf(path), failure);
        return failure ? std::nullopt : std::optional<std::uint64_t>(bytes);
    }

    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        if (bytes.empty())
            return removeDurably(path, error);
        const std::string aside = path + ".new";
        std::string ignored;
        removeDurably(aside, ignored);
        return append(aside, bytes, true, error) && renameDurably(aside, path, error);
    }

    bool lock(const std::string &path, std::string &error) override {
        // Taken anew each time: a second holder within this process is refused too.
        if (!prepareOwnFolder(folderOf(path), error))
            return false;
        std::intptr_t handle = 0;
        if (!lockOwnFile(path, handle, error))
            return false;
        std::lock_guard guard(m_locksMutex);
        m_locks[path] = handle;
        return true;
    }

    void unlock(const std::string &path) override {
        std::lock_guard guard(m_locksMutex);
        const auto found = m_locks.find(path);
        if (found == m_locks.end())
            return;
        unlockOwnFile(found->second);
        m_locks.erase(found);
    }

private:
    // The writer and the end of the program may both reach them.
    std::mutex m_locksMutex;
    std::map<std::string, std::intptr_t> m_locks;
};

} // namespace

LogStore &systemLogStore() {
    static SystemLogStore store;
    return store;
}

} // namespace wendle
