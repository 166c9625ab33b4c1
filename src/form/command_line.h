#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendle::form {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { Run, Help, Version, Mistake };
    Action action = Action::Run;
    bool minimized = false;
    // For a mistake: what was wrong, for the user.
    std::string problem;
};

// The arguments after the program's own name, as UTF-8. Help and version
// win over everything after them; the first mistake ends the reading.
CommandLine readCommandLine(const std::vector<std::string> &arguments);

// The texts the program answers with: help, its version, and one line for a
// mistake (the program then ends with status 2).
std::string helpText();
std::string versionText(std::string_view version);
std::string mistakeText(const CommandLine &commandLine);

} // namespace wendle::form
