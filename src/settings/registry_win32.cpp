#ifdef _WIN32

#include "settings/registry_win32.h"

#include "settings/ansi_text_win32.h"

#include <windows.h>

#include <vector>

namespace wendle::win32 {

namespace {

HKEY rootKey(std::uint32_t root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

LONG QueryStringValue(HKEY key, const std::wstring &name, std::wstring &text) {
    const std::string ansiName = toAnsi(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ)
        return ERROR_SUCCESS;
    std::vector<char> buffer(size, ' ');
    status = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE *>(buffer.data()), &size);
    if (status != ERROR_SUCCESS)
        return status;
    text = StripAtNul(fromAnsi(buffer.data(), buffer.size()));
    return ERROR_SUCCESS;
}

} // namespace

std::wstring StripAtNul(const std::wstring &text) {
    const std::size_t nul = text.find(L'\0');
    return nul == std::wstring::npos ? text : text.substr(0, nul);
}

std::wstring GetSettingString(std::uint32_t root, const std::wstring &subkey,
                              const std::wstring &name, const std::wstring &defaultText) {
    HKEY key = nullptr;
    if (RegOpenKeyA(rootKey(root), toAnsi(subkey).c_str(), &key) != ERROR_SUCCESS)
        return defaultText;
    std::wstring text;
    const LONG status = QueryStringValue(key, name, text);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? text : defaultText;
}

std::int32_t GetSettingDword(std::uint32_t root, const std::wstring &subkey,
                             const std::wstring &name, std::int32_t defaultNumber) {
    HKEY key = nullptr;
    if (RegOpenKeyA(rootKey(root), toAnsi(subkey).c_str(), &key) != ERROR_SUCCESS)
        return defaultNumber;
    DWORD result = 0;
    DWORD size = sizeof result;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, toAnsi(name).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE *>(&result), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? static_cast<std::int32_t>(result) : defaultNumber;
}

bool KeyExists(std::uint32_t root, const std::wstring &subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey(root), toAnsi(subkey).c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

namespace {

void removeValue(std::uint32_t root, const std::wstring &subkey, const std::wstring &name) {
    if (!KeyExists(root, subkey))
        return;
    HKEY key = nullptr;
    if (RegOpenKeyA(rootKey(root), toAnsi(subkey).c_str(), &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, toAnsi(name).c_str());
    RegCloseKey(key);
}

void setValue(std::uint32_t root, const std::wstring &subkey, const std::wstring &name, DWORD type,
              const BYTE *data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyA(rootKey(root), toAnsi(subkey).c_str(), &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, toAnsi(name).c_str(), 0, type, data, size);
    RegCloseKey(key);
}

} // namespace

void SaveSettingString(std::uint32_t root, const std::wstring &subkey, const std::wstring &name,
                       const std::wstring &text, const std::wstring &defaultText) {
    if (text != defaultText) {
        // Stored without a terminating NUL, as it always has been.
        const std::string ansi = toAnsi(text);
        setValue(root, subkey, name, REG_SZ, reinterpret_cast<const BYTE *>(ansi.data()),
                 static_cast<DWORD>(ansi.size()));
    } else {
        removeValue(root, subkey, name);
    }
}

void SaveSettingDword(std::uint32_t root, const std::wstring &subkey, const std::wstring &name,
                      std::int32_t number, std::int32_t defaultNumber) {
    if (number != defaultNumber) {
        const DWORD value = static_cast<DWORD>(number);
        setValue(root, subkey, name, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                 sizeof value);
    } else {
        removeValue(root, subkey, name);
    }
}

} // namespace wendle::win32

#endif // _WIN32
