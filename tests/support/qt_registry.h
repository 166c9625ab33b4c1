#pragma once

#include "settings/registry.h"
#include "ui/qt_text.h"

// The registry operations with Qt's strings, for tests written with them.
namespace wendle::test {

inline QString GetSettingString(RegistryRoot root, const QString &subkey, const QString &name,
                                const QString &defaultText) {
    return qt(wendle::GetSettingString(root, utf8(subkey), utf8(name), utf8(defaultText)));
}
inline qint32 GetSettingDword(RegistryRoot root, const QString &subkey, const QString &name,
                              qint32 defaultNumber) {
    return wendle::GetSettingDword(root, utf8(subkey), utf8(name), defaultNumber);
}
inline void SaveSettingString(RegistryRoot root, const QString &subkey, const QString &name,
                              const QString &text, const QString &defaultText) {
    wendle::SaveSettingString(root, utf8(subkey), utf8(name), utf8(text), utf8(defaultText));
}
inline void SaveSettingDword(RegistryRoot root, const QString &subkey, const QString &name,
                             qint32 number, qint32 defaultNumber) {
    wendle::SaveSettingDword(root, utf8(subkey), utf8(name), number, defaultNumber);
}
inline bool KeyExists(RegistryRoot root, const QString &subkey) {
    return wendle::KeyExists(root, utf8(subkey));
}

} // namespace wendle::test
