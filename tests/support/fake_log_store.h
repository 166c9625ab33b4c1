#pragma once

#include "logging/log_store.h"

#include <map>
#include <set>
#include <string>

namespace wendle::test {

// Thrown where the process would have died.
struct Crash {};

// Files in memory; a folder can be made to refuse every write, as a folder
// that is gone, full or read-only does. Every write that reaches a file is
// counted, and the one numbered crashAt "crashes": it leaves the part of its
// bytes that tornAt says and throws Crash.
class FakeLogStore final : public LogStore {
public:
    enum class Torn { Nothing, Half, All };

    bool append(const std::string &path, const std::string &given, bool own,
                std::string &error) override {
        for (const auto &[folder, reason] : m_refused) {
            if (path.starts_with(folder)) {
                error = reason;
                return false;
            }
        }
        // As the system's store does, a day's file that ends within a line
        // has it ended first.
        std::string &file = files[path];
        const std::string bytes =
            !own && !file.empty() && file.back() != '\n' ? "\r\n" + given : given;
        if (++writes == crashAt) {
            file += tornAt == Torn::All    ? bytes
                    : tornAt == Torn::Half ? bytes.substr(0, bytes.size() / 2)
                                           : std::string();
            throw Crash{};
        }
        file += bytes;
        return true;
    }
    std::optional<std::string> read(const std::string &path) override {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<std::uint64_t> size(const std::string &path) override {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second.size());
    }
    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        for (const auto &[folder, reason] : m_refused) {
            if (path.starts_with(folder)) {
                error = reason;
                return false;
            }
        }
        // A rename is whole or nothing.
        if (++writes == crashAt && tornAt != Torn::All)
            throw Crash{};
        if (bytes.empty())
            files.erase(path);
        else
            files[path] = bytes;
        if (writes == crashAt)
            throw Crash{};
        return true;
    }
    bool lock(const std::string &path, std::string &error) override {
        if (!m_locks.insert(path).second) {
            error = "another running copy of Wendle holds it";
            return false;
        }
        return true;
    }
    void unlock(const std::string &path) override { m_locks.erase(path); }

    void refuse(const std::string &folder, const std::string &reason) {
        m_refused[folder] = reason;
    }
    void accept(const std::string &folder) { m_refused.erase(folder); }
    void acceptAll() { m_refused.clear(); }
    // The process that held locks has gone.
    void dropLocks() { m_locks.clear(); }
    std::string file(const std::string &path) const {
        const auto found = files.find(path);
        return found == files.end() ? "<missing>" : found->second;
    }

    std::map<std::string, std::string> files;
    int writes = 0;
    int crashAt = 0;
    Torn tornAt = Torn::Nothing;

private:
    std::map<std::string, std::string> m_refused;
    std::set<std::string> m_locks;
};

} // namespace wendle::test
