#pragma once

#include <string>

namespace wendle::form {

// The log view's description once Show Recent Log has filled it, which a
// screen reader reads on arriving there: "The end of today's log, as Show
// Recent Log read it: 3 lines, last at 09:00:30". The text's lines end in
// CR LF or LF; empty lines do not count.
std::string recentLogDescription(const std::string &text);

} // namespace wendle::form
