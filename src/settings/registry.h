#pragma once

#include "settings/registry_roots.h"

#include <cstdint>
#include <string>

namespace wendle {

// Typed access to named values under a key path, in the registry on Windows
// and in the user's registry file elsewhere. Text is UTF-8. Nothing here
// raises or shows anything: readers fall back on the caller's default,
// writers that cannot store simply store nothing (and say so by returning
// false). Each call opens what it needs and closes it before it returns.

// The stored text; the default when it cannot be read; an empty text for a
// value that is not of the text type.
std::string GetSettingString(RegistryRoot root, const std::string &subkey, const std::string &name,
                             const std::string &defaultText);
// The stored number: 1 to 4 bytes of data, low byte first; the default when
// it cannot be read or has more than 4 bytes.
std::int32_t GetSettingDword(RegistryRoot root, const std::string &subkey, const std::string &name,
                             std::int32_t defaultNumber);
// Stores the text, creating the key when needed; a text equal to the default
// removes the value instead, and only from a key that exists. True when the
// store now holds what was asked (or there was nothing to remove).
bool SaveSettingString(RegistryRoot root, const std::string &subkey, const std::string &name,
                       const std::string &text, const std::string &defaultText);
bool SaveSettingDword(RegistryRoot root, const std::string &subkey, const std::string &name,
                      std::int32_t number, std::int32_t defaultNumber);
// True when the key exists and this user may change it.
bool KeyExists(RegistryRoot root, const std::string &subkey);

// The text before its first NUL character; all of it when it holds none.
std::string StripAtNul(const std::string &text);

} // namespace wendle
