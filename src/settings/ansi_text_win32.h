#pragma once

// Text between the program (UTF-16) and the ANSI forms of the Windows API
// (the system's ANSI code page): the one place where it is converted.
#ifdef _WIN32

#include <string>

namespace wendle::win32 {

std::string toAnsi(const std::wstring &text);
std::wstring fromAnsi(const char *data, std::size_t length);

} // namespace wendle::win32

#endif // _WIN32
