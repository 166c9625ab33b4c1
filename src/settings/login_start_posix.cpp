#include "settings/login_start.h"

#include "logging/system_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

} // namespace

LoginStart::LoginStart(std::string program) : m_program(std::move(program)) {}

std::string LoginStart::currentProgram() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string("wendle") : self.string();
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
    const fs::path partial = entry.string() + ".new";
    {
        std::ofstream file(partial, std::ios::trunc);
        file << "[Desktop Entry]\n"
                "Type=Application\n"
                "Name=Quorvel Wendle\n"
                "Comment=Records the time of day at a fixed interval, one log file a day\n"
                "Exec="
             << desktopValue(execArgument(m_program)) << ' ' << MinimizedOption
             << "\n"
                "Icon=com.quorvel.Wendle\n"
                "Terminal=false\n"
                "X-GNOME-Autostart-enabled=true\n";
        if (!file.flush()) {
            error = systemErrorText(errno);
            fs::remove(partial, failure);
            return false;
        }
    }
    fs::rename(partial, entry, failure);
    if (failure)
        error = failure.message();
    return !failure;
}

} // namespace wendle
