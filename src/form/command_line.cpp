#include "form/command_line.h"

#include "settings/login_start.h"

namespace wendle::form {

CommandLine readCommandLine(const std::vector<std::string> &arguments) {
    CommandLine result;
    for (const std::string &argument : arguments) {
        if (argument == MinimizedOption) {
            result.minimized = true;
        } else if (argument == "-h" || argument == "--help" || argument == "-?" ||
                   argument == "/?") {
            result.action = CommandLine::Action::Help;
            return result;
        } else if (argument == "-v" || argument == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        } else {
            result.action = CommandLine::Action::Mistake;
            result.problem = argument.starts_with('-') ? "unknown option '" + argument + "'"
                                                       : "no arguments are taken";
            return result;
        }
    }
    return result;
}

std::string helpText() {
    return std::string("Usage: wendle [") + MinimizedOption +
           "]\n"
           "Records the time of day at a fixed interval, one log file a day.\n"
           "\n"
           "Options:\n"
           "  " +
           MinimizedOption +
           "    Start hidden in the tray (minimised where there is no tray).\n"
           "  -h, --help     Show this help.\n"
           "  -v, --version  Show the version.\n";
}

std::string versionText(std::string_view version) {
    return "wendle " + std::string(version);
}

std::string mistakeText(const CommandLine &commandLine) {
    return "wendle: " + commandLine.problem + " (see --help)";
}

} // namespace wendle::form
