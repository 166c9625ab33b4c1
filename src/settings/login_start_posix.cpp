#include "settings/login_start.h"

#include "logging/system_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace wendle {

namespace fs = std::filesystem;

namespace {

fs::path entryPath() {
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    const fs::path base =
        config && *config ? fs::path(config) : fs::path(home ? home : "") / ".config";
    return base / "autostart" / "com.quorvel.Wendle.desktop";
}

// An Exec argument as the desktop entry format wants it: quoted when it
// holds a reserved character, with ", `, $ and \ escaped inside.
std::string execArgument(const std::string &text) {
    if (text.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// In a desktop file a backslash in a string value is itself escaped.
std::string desktopValue(const std::string &text) {
    std::string out;
    for (const char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// Writes the file anew; 0, or the errno of the first step that failed.
int writeWhole(const fs::path &path, const std::string &text) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return errno;
    const char *data = text.data();
    std::size_t left = text.size();
    int reason = 0;
    while (left > 0 && reason == 0) {
        const ssize_t written = ::write(file, data, left);
        if (written < 0) {
            if (errno != EINTR)
                reason = errno;
            continue;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::close(file) != 0 && reason == 0)
        reason = errno;
    return reason;
}

} // namespace

LoginStart::LoginStart(std::string program) : m_program(std::move(program)) {}

std::string LoginStart::currentProgram() {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    return length > 0 && std::size_t(length) < sizeof self ? std::string(self, std::size_t(length))
                                                           : std::string("wendle");
}

std::string LoginStart::location() const {
    return entryPath().string();
}

bool LoginStart::enabled() const {
    std::error_code error;
    return fs::exists(entryPath(), error);
}

bool LoginStart::setEnabled(bool on, std::string &error) {
    const fs::path entry = entryPath();
    std::error_code failure;
    if (!on) {
        fs::remove(entry, failure);
        if (failure)
            error = failure.message();
        return !failure;
    }
    fs::create_directories(entry.parent_path(), failure);
    if (failure) {
        error = failure.message();
        return false;
    }
    const fs::path partial = entry.string() + ".new";
    const std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Quorvel Wendle\n"
        "Comment=Records the time of day at a fixed interval, one log file a day\n"
        "Exec=" +
        desktopValue(execArgument(m_program)) + ' ' + MinimizedOption +
        "\n"
        "Icon=com.quorvel.Wendle\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    if (const int reason = writeWhole(partial, text); reason != 0) {
        error = systemErrorText(reason);
        fs::remove(partial, failure);
        return false;
    }
    fs::rename(partial, entry, failure);
    if (failure)
        error = failure.message();
    return !failure;
}

} // namespace wendle
