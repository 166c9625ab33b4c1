#include "report/report_command.h"

#include <iostream>

namespace wendle::report {

std::ostream &standardOutput() {
    return std::cout;
}

std::ostream &standardError() {
    return std::cerr;
}

} // namespace wendle::report
