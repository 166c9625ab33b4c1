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
// Into a fixed field of size wide characters, the NUL included: a text too
// long is cut where a character ends, never between the halves of a
// surrogate pair, which would show as a broken glyph.
void copyToField(const std::string &utf8, wchar_t *field, std::size_t size);

} // namespace wendle::win32
