#pragma once

#include "logging/log_store.h"

#include <map>
#include <string>

namespace wendle::test {

// Files in memory; a folder can be made to refuse every write, as a folder
// that is gone, full or read-only does.
class FakeLogStore final : public LogStore {
public:
    bool append(const std::string &path, const std::string &bytes, bool,
                std::string &error) override {
        for (const auto &[folder, reason] : m_refused) {
            if (path.starts_with(folder)) {
                error = reason;
                return false;
            }
        }
        files[path] += bytes;
        return true;
    }
    std::optional<std::string> read(const std::string &path) override {
        const auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        if (bytes.empty()) {
            files.erase(path);
            return true;
        }
        files.erase(path);
        return append(path, bytes, true, error);
    }

    void refuse(const std::string &folder, const std::string &reason) {
        m_refused[folder] = reason;
    }
    void accept(const std::string &folder) { m_refused.erase(folder); }
    std::string file(const std::string &path) const {
        const auto found = files.find(path);
        return found == files.end() ? "<missing>" : found->second;
    }

    std::map<std::string, std::string> files;

private:
    std::map<std::string, std::string> m_refused;
};

} // namespace wendle::test
