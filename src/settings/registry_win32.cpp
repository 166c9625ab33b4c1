// The registry operations on the Windows registry itself, through the wide
// forms of advapi32. The registry keeps REG_SZ text as UTF-16 whichever form
// wrote it, so values stored through the ANSI forms read back the same, and
// a folder outside the ANSI code page survives the round trip.
#include "settings/registry.h"

#include "logging/text_win32.h"

#include <windows.h>

#include <vector>

namespace wendle {

namespace {

using win32::widen;

HKEY rootKey(RegistryRoot root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

LONG QueryStringValue(HKEY key, const std::string &name, std::string &text) {
    const std::wstring wideName = widen(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ)
        return ERROR_SUCCESS;
    // A size in bytes; an odd one (data set by hand) still fits.
    std::vector<wchar_t> buffer((size + 1) / sizeof(wchar_t), L' ');
    status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE *>(buffer.data()), &size);
    if (status != ERROR_SUCCESS)
        return status;
    text = StripAtNul(win32::narrow(std::wstring(buffer.data(), buffer.size())));
    return ERROR_SUCCESS;
}

bool removeValue(RegistryRoot root, const std::string &subkey, const std::string &name) {
    HKEY key = nullptr;
    if (!KeyExists(root, subkey)) {
        // A key that is not there holds no value; one that may only be read
        // keeps its value.
        const bool absent =
            RegOpenKeyW(rootKey(root), widen(subkey).c_str(), &key) != ERROR_SUCCESS;
        if (!absent)
            RegCloseKey(key);
        return absent;
    }
    if (RegOpenKeyW(rootKey(root), widen(subkey).c_str(), &key) != ERROR_SUCCESS)
        return false;
    const LONG status = RegDeleteValueW(key, widen(name).c_str());
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool setValue(RegistryRoot root, const std::string &subkey, const std::string &name, DWORD type,
              const BYTE *data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyW(rootKey(root), widen(subkey).c_str(), &key) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExW(key, widen(name).c_str(), 0, type, data, size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace

std::string GetSettingString(RegistryRoot root, const std::string &subkey, const std::string &name,
                             const std::string &defaultText) {
    HKEY key = nullptr;
    if (RegOpenKeyW(rootKey(root), widen(subkey).c_str(), &key) != ERROR_SUCCESS)
        return defaultText;
    std::string text;
    const LONG status = QueryStringValue(key, name, text);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? text : defaultText;
}

std::int32_t GetSettingDword(RegistryRoot root, const std::string &subkey, const std::string &name,
                             std::int32_t defaultNumber) {
    HKEY key = nullptr;
    if (RegOpenKeyW(rootKey(root), widen(subkey).c_str(), &key) != ERROR_SUCCESS)
        return defaultNumber;
    DWORD result = 0;
    DWORD size = sizeof result;
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key, widen(name).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE *>(&result), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? static_cast<std::int32_t>(result) : defaultNumber;
}

bool KeyExists(RegistryRoot root, const std::string &subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootKey(root), widen(subkey).c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool SaveSettingString(RegistryRoot root, const std::string &subkey, const std::string &name,
                       const std::string &text, const std::string &defaultText) {
    if (text == defaultText)
        return removeValue(root, subkey, name);
    // Stored without a terminating NUL, as it always has been.
    const std::wstring wide = widen(text);
    return setValue(root, subkey, name, REG_SZ, reinterpret_cast<const BYTE *>(wide.data()),
                    static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
}

bool SaveSettingDword(RegistryRoot root, const std::string &subkey, const std::string &name,
                      std::int32_t number, std::int32_t defaultNumber) {
    if (number == defaultNumber)
        return removeValue(root, subkey, name);
    const DWORD value = static_cast<DWORD>(number);
    return setValue(root, subkey, name, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                    sizeof value);
}

} // namespace wendle
