#pragma once

// The registry operations on the Windows registry itself, through the ANSI
// forms of advapi32. Text crosses in UTF-16 and is converted to and from the
// system's ANSI code page in one place, inside. No Qt here.
#ifdef _WIN32

#include <cstdint>
#include <string>

namespace wendle::win32 {

std::wstring GetSettingString(std::uint32_t root, const std::wstring &subkey,
                              const std::wstring &name, const std::wstring &defaultText);
std::int32_t GetSettingDword(std::uint32_t root, const std::wstring &subkey,
                             const std::wstring &name, std::int32_t defaultNumber);
void SaveSettingString(std::uint32_t root, const std::wstring &subkey, const std::wstring &name,
                       const std::wstring &text, const std::wstring &defaultText);
void SaveSettingDword(std::uint32_t root, const std::wstring &subkey, const std::wstring &name,
                      std::int32_t number, std::int32_t defaultNumber);
bool KeyExists(std::uint32_t root, const std::wstring &subkey);
std::wstring StripAtNul(const std::wstring &text);

} // namespace wendle::win32

#endif // _WIN32
