#include "settings/login_start.h"

#include "logging/system_error.h"
#include "logging/text_win32.h"

#include <windows.h>

namespace wendle {

namespace {

const wchar_t *const RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t *const ValueName = L"Quorvel Wendle";

} // namespace

LoginStart::LoginStart(std::string program) : m_program(std::move(program)) {}

std::string LoginStart::currentProgram() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return win32::narrow(path);
}

std::string LoginStart::location() const {
    return "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

bool LoginStart::enabled() const {
    return RegGetValueW(HKEY_CURRENT_USER, RunKey, ValueName, RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

bool LoginStart::setEnabled(bool on, std::string &error) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status == ERROR_SUCCESS) {
        if (on) {
            const std::wstring command =
                L"\"" + win32::widen(m_program) + L"\" " + win32::widen(MinimizedOption);
            status = RegSetValueExW(key, ValueName, 0, REG_SZ,
                                    reinterpret_cast<const BYTE *>(command.c_str()),
                                    DWORD((command.size() + 1) * sizeof(wchar_t)));
        } else {
            status = RegDeleteValueW(key, ValueName);
            if (status == ERROR_FILE_NOT_FOUND)
                status = ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        error = systemErrorText(static_cast<unsigned long>(status));
    return status == ERROR_SUCCESS;
}

} // namespace wendle
