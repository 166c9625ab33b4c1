#pragma once

#include <string>

namespace wendle {

// The entry that starts the program, hidden in the tray (--minimized), when
// the user logs in: an XDG autostart file on Linux, the user's Run value on
// Windows. Whether it is there is read anew each time, so an entry made or
// removed by hand shows as it is.
class LoginStart {
public:
    // The program the entry starts.
    explicit LoginStart(std::string program = currentProgram());

    bool enabled() const;
    // Makes or removes the entry; false (and the reason) when that failed.
    bool setEnabled(bool on, std::string &error);

    // Where the entry lives, for messages.
    std::string location() const;
    // The running program's own file.
    static std::string currentProgram();

private:
    std::string m_program;
};

// "--minimized": the option the entry starts the program with.
inline constexpr const char *MinimizedOption = "--minimized";

} // namespace wendle
