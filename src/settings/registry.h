#pragma once

#include "settings/registry_roots.h"

#include <QString>

namespace wendle {

// Typed access to named values under a key path, in the registry on Windows
// and in the user's registry file elsewhere. Nothing here raises or shows
// anything: readers fall back on the caller's default, writers that cannot
// store simply store nothing. Each call opens what it needs and closes it
// before it returns.

// The stored text; the default when it cannot be read; an empty text for a
// value that is not of the text type.
QString GetSettingString(RegistryRoot root, const QString &subkey, const QString &name,
                         const QString &defaultText);
// The stored number: 1 to 4 bytes of data, low byte first; the default when
// it cannot be read or has more than 4 bytes.
qint32 GetSettingDword(RegistryRoot root, const QString &subkey, const QString &name,
                       qint32 defaultNumber);
// Stores the text, creating the key when needed; a text equal to the default
// removes the value instead, and only from a key that exists.
void SaveSettingString(RegistryRoot root, const QString &subkey, const QString &name,
                       const QString &text, const QString &defaultText);
void SaveSettingDword(RegistryRoot root, const QString &subkey, const QString &name, qint32 number,
                      qint32 defaultNumber);
// True when the key exists and this user may change it.
bool KeyExists(RegistryRoot root, const QString &subkey);

// The text before its first NUL character; all of it when it holds none.
QString StripAtNul(const QString &text);

} // namespace wendle
