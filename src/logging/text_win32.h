#pragma once

#include <string>

namespace wendle::win32 {

// The program's text is UTF-8; Windows takes UTF-16 in its wide calls and the
// system's ANSI code page in its ANSI calls. These are the only conversions.
std::wstring widen(const std::string &utf8);
std::string narrow(const std::wstring &wide);
std::string toAnsi(const std::string &utf8);
std::string fromAnsi(const char *data, std::size_t length);
inline std::string fromAnsi(const std::string &ansi) {
    return fromAnsi(ansi.data(), ansi.size());
}

} // namespace wendle::win32
