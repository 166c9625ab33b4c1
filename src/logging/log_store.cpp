#include "logging/log_store.h"

#include "logging/daily_log_file.h"
#include "logging/log_tail.h"

#include <filesystem>
#include <system_error>

namespace wendle {

namespace {

namespace fs = std::filesystem;

// The program's paths are UTF-8 on every system.
fs::path pathOf(const std::string &utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

class SystemLogStore final : public LogStore {
public:
    bool append(const std::string &path, const std::string &bytes, bool makeFolder,
                std::string &error) override {
        if (makeFolder) {
            std::error_code ignored;
            fs::create_directories(pathOf(path).parent_path(), ignored);
        }
        DailyLogFile file;
        if (!file.open(path, error))
            return false;
        return bytes.empty() || file.append(bytes, error);
    }

    std::optional<std::string> read(const std::string &path) override {
        FileEnd file = readFileEnd(path, std::size_t(1) << 40);
        if (file.status != LogTail::Status::Read)
            return std::nullopt;
        return std::move(file.bytes);
    }

    bool replace(const std::string &path, const std::string &bytes, std::string &error) override {
        std::error_code failure;
        if (bytes.empty()) {
            fs::remove(pathOf(path), failure);
        } else {
            const std::string aside = path + ".new";
            fs::remove(pathOf(aside), failure);
            if (!append(aside, bytes, true, error))
                return false;
            fs::rename(pathOf(aside), pathOf(path), failure);
        }
        if (failure)
            error = failure.message();
        return !failure;
    }
};

} // namespace

LogStore &systemLogStore() {
    static SystemLogStore store;
    return store;
}

} // namespace wendle
