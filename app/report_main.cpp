#include "logging/clock.h"
#include "report/report_command.h"
#include "settings/program_settings.h"

int main(int argc, char *argv[]) {
    wendle::ProgramSettings settings(wendle::systemRegistry());
    return wendle::report::runReportCommand(
        wendle::report::commandLineArguments(argc, argv), wendle::SystemClock().now().date,
        settings.logFolder(), wendle::report::standardOutput(), wendle::report::standardError());
}
