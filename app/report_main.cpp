#include "logging/clock.h"
#include "report/report_command.h"
#include "settings/program_settings.h"

#include <clocale>

int main(int argc, char *argv[]) {
    // The lines are in the user's long time format and its words; numbers
    // and everything else the command prints stay as in C.
    std::setlocale(LC_TIME, "");
    wendle::ProgramSettings settings(wendle::systemRegistry());
    return wendle::report::runReportCommand(
        wendle::report::commandLineArguments(argc, argv), wendle::SystemClock().now().date,
        wendle::reportFolders(settings.logFolder(), settings.extraReportFolders()),
        wendle::report::standardOutput(), wendle::report::standardError());
}
