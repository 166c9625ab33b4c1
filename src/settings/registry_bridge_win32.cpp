// On Windows the registry operations are the registry's own.
#ifdef _WIN32

#include "settings/registry.h"
#include "settings/registry_win32.h"

namespace wendle {

QString GetSettingString(RegistryRoot root, const QString &subkey, const QString &name,
                         const QString &defaultText) {
    return QString::fromStdWString(win32::GetSettingString(
        root, subkey.toStdWString(), name.toStdWString(), defaultText.toStdWString()));
}

qint32 GetSettingDword(RegistryRoot root, const QString &subkey, const QString &name,
                       qint32 defaultNumber) {
    return win32::GetSettingDword(root, subkey.toStdWString(), name.toStdWString(), defaultNumber);
}

void SaveSettingString(RegistryRoot root, const QString &subkey, const QString &name,
                       const QString &text, const QString &defaultText) {
    win32::SaveSettingString(root, subkey.toStdWString(), name.toStdWString(), text.toStdWString(),
                             defaultText.toStdWString());
}

void SaveSettingDword(RegistryRoot root, const QString &subkey, const QString &name, qint32 number,
                      qint32 defaultNumber) {
    win32::SaveSettingDword(root, subkey.toStdWString(), name.toStdWString(), number,
                            defaultNumber);
}

bool KeyExists(RegistryRoot root, const QString &subkey) {
    return win32::KeyExists(root, subkey.toStdWString());
}

} // namespace wendle

#endif // _WIN32
