#include "logging/text_win32.h"
#include "report/report_command.h"

#include <windows.h>

#include <shellapi.h>

namespace wendle::report {

// The wide command line: argv holds only what the ANSI code page can say.
std::vector<std::string> commandLineArguments(int, char *[]) {
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(win32::narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

} // namespace wendle::report
