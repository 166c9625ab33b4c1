// The registry operations on the user's registry file, for systems without
// a registry. They keep the registry's meaning: see registry.h.
#include "settings/registry.h"
#include "settings/registry_store.h"

#include <optional>

namespace wendle {

namespace {

constexpr int ERROR_SUCCESS = 0;
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_MORE_DATA = 234;

std::optional<QString> rootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryRoot::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    case RegistryRoot::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryRoot::Users:
        return QStringLiteral("HKEY_USERS");
    case RegistryRoot::PerformanceData:
        return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case RegistryRoot::CurrentConfig:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    case RegistryRoot::DynData:
        return QStringLiteral("HKEY_DYN_DATA");
    }
    return std::nullopt;
}

// A key opened for reading: the store's text as it was when opened.
struct OpenKey {
    RegDocument document;
    QString path;
};

std::optional<OpenKey> openKey(RegistryRoot root, const QString &subkey) {
    const std::optional<QString> name = rootName(root);
    if (!name)
        return std::nullopt;
    OpenKey key{RegistryStore().read(), *name + QLatin1Char('\\') + subkey};
    if (!key.document.keyExists(key.path))
        return std::nullopt;
    return key;
}

// The status of the value's lookup; the text is set only for a text value.
int QueryStringValue(const OpenKey &key, const QString &name, std::string *text) {
    const RegValue *value = key.document.value(key.path, name);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (value->type != RegType::String)
        return ERROR_SUCCESS;
    *text = StripAtNul(value->data.toStdString());
    return ERROR_SUCCESS;
}

int queryDword(const OpenKey &key, const QString &name, quint32 *number) {
    const RegValue *value = key.document.value(key.path, name);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (value->data.size() > 4)
        return ERROR_MORE_DATA;
    for (qsizetype i = 0; i < value->data.size(); ++i)
        *number |= static_cast<quint32>(static_cast<uchar>(value->data.at(i))) << (8 * i);
    return ERROR_SUCCESS;
}

bool storeValue(RegistryRoot root, const QString &subkey, const QString &name,
                const RegValue &value) {
    const std::optional<QString> rootText = rootName(root);
    if (!rootText)
        return false;
    const QString path = *rootText + QLatin1Char('\\') + subkey;
    return RegistryStore().update([&](RegDocument &document) {
        document.setValue(path, name, value);
        return true;
    });
}

bool removeValue(RegistryRoot root, const QString &subkey, const QString &name) {
    const QString path = *rootName(root) + QLatin1Char('\\') + subkey;
    return RegistryStore().update(
        [&](RegDocument &document) { return document.removeValue(path, name); });
}

QString qt(const std::string &text) {
    return QString::fromStdString(text);
}

} // namespace

std::string GetSettingString(RegistryRoot root, const std::string &subkey, const std::string &name,
                             const std::string &defaultText) {
    const std::optional<OpenKey> key = openKey(root, qt(subkey));
    if (!key)
        return defaultText;
    std::string text;
    return QueryStringValue(*key, qt(name), &text) == ERROR_SUCCESS ? text : defaultText;
}

std::int32_t GetSettingDword(RegistryRoot root, const std::string &subkey, const std::string &name,
                             std::int32_t defaultNumber) {
    const std::optional<OpenKey> key = openKey(root, qt(subkey));
    if (!key)
        return defaultNumber;
    quint32 number = 0;
    if (queryDword(*key, qt(name), &number) != ERROR_SUCCESS)
        return defaultNumber;
    return static_cast<std::int32_t>(number);
}

bool SaveSettingString(RegistryRoot root, const std::string &subkey, const std::string &name,
                       const std::string &text, const std::string &defaultText) {
    if (text != defaultText)
        return storeValue(root, qt(subkey), qt(name),
                          RegValue{RegType::String, QByteArray::fromStdString(text)});
    return !KeyExists(root, subkey) || removeValue(root, qt(subkey), qt(name));
}

bool SaveSettingDword(RegistryRoot root, const std::string &subkey, const std::string &name,
                      std::int32_t number, std::int32_t defaultNumber) {
    if (number != defaultNumber) {
        const auto bits = static_cast<quint32>(number);
        QByteArray data(4, '\0');
        for (int i = 0; i < 4; ++i)
            data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
        return storeValue(root, qt(subkey), qt(name), RegValue{RegType::Dword, data});
    }
    return !KeyExists(root, subkey) || removeValue(root, qt(subkey), qt(name));
}

bool KeyExists(RegistryRoot root, const std::string &subkey) {
    const RegistryStore store;
    return openKey(root, qt(subkey)).has_value() && store.writable();
}

} // namespace wendle
