#pragma once

#include <string>

namespace wendle {

// The system's own words, in UTF-8, for an error number of the platform's
// file calls (errno, or GetLastError on Windows), for messages to the user.
std::string systemErrorText(unsigned long error);

// Why a log's name that is a pipe, a socket or a device is refused.
inline constexpr const char *NotRegularFileText = "is not a regular file";

} // namespace wendle
