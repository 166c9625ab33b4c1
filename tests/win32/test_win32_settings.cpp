// The registry operations on Wine's registry, text through a code page that
// is not UTF-8, and the settings' fallback when the machine's key is refused.
#include "logging/text_win32.h"
#include "settings/login_start.h"
#include "settings/program_settings.h"
#include "settings/registry.h"

#include <doctest/doctest.h>

#include <windows.h>

using namespace wendle;

namespace {

const std::string TestKey = "SOFTWARE\\Quorvel\\Test";
constexpr RegistryRoot Machine = RegistryRoot::LocalMachine;
constexpr RegistryRoot User = RegistryRoot::CurrentUser;

void clear(HKEY root, const std::string &key) {
    RegDeleteTreeA(root, key.c_str());
}

void setRaw(const char *name, DWORD type, const void *data, DWORD size) {
    HKEY key;
    REQUIRE(RegCreateKeyA(HKEY_LOCAL_MACHINE, TestKey.c_str(), &key) == ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

// What Windows does to a user without administrator rights: the machine's
// key may be read but not written.
class RefusingRegistry final : public Registry {
public:
    bool saveString(RegistryRoot root, const std::string &name, const std::string &text,
                    const std::string &defaultText) override {
        return root != Machine && Registry::saveString(root, name, text, defaultText);
    }
    bool saveDword(RegistryRoot root, const std::string &name, std::int32_t number,
                   std::int32_t defaultNumber) override {
        return root != Machine && Registry::saveDword(root, name, number, defaultNumber);
    }
};

} // namespace

TEST_CASE("registry values read back as the registry keeps them") {
    clear(HKEY_LOCAL_MACHINE, TestKey);
    const RegistryRoot machine = Machine;
    CHECK(GetSettingString(machine, TestKey, "V", "dflt") == "dflt");
    CHECK(GetSettingDword(machine, TestKey, "V", -7) == -7);
    CHECK_FALSE(KeyExists(machine, TestKey)); // reading creates nothing

    CHECK(SaveSettingDword(machine, TestKey + "\\Deeper", "N", 0, -1)); // creates the path
    CHECK(GetSettingDword(machine, TestKey + "\\Deeper", "N", -1) == 0);
    CHECK(KeyExists(machine, TestKey));

    struct Raw {
        const char *name;
        DWORD type;
        std::string data;
        std::string text;
        std::int32_t number; // 0x7fffffff: what a text reads as a number is Wine's own
    };
    const Raw rows[] = {
        {"inner NUL", REG_SZ, std::string("ab\0c", 4), "ab", 0x7fffffff},
        {"empty text", REG_SZ, "", "", 0x7fffffff},
        {"dword 1", REG_DWORD, std::string("\1\0\0\0", 4), "", 1},
        {"all ones", REG_DWORD, "\xff\xff\xff\xff", "", -1},
        {"two bytes", REG_BINARY, "\1\2", "", 513},
        {"eight bytes", REG_BINARY, std::string(8, '\1'), "", 77},
    };
    for (const Raw &row : rows) {
        CAPTURE(row.name);
        setRaw(row.name, row.type, row.data.data(), DWORD(row.data.size()));
        CHECK(GetSettingString(machine, TestKey, row.name, "dflt") == row.text);
        if (row.number != 0x7fffffff)
            CHECK(GetSettingDword(machine, TestKey, row.name, 77) == row.number);
    }

    // The default is compared case by case; equal to it, the value goes.
    CHECK(SaveSettingString(machine, TestKey, "Folder", "C:\\logs", "C:\\Logs"));
    CHECK(GetSettingString(machine, TestKey, "Folder", "none") == "C:\\logs");
    CHECK(SaveSettingString(machine, TestKey, "Folder", "", ""));
    CHECK(GetSettingString(machine, TestKey, "Folder", "none") == "none");
    CHECK(SaveSettingString(machine, "SOFTWARE\\Quorvel\\Absent", "V", "", ""));
    CHECK_FALSE(KeyExists(machine, "SOFTWARE\\Quorvel\\Absent"));
    clear(HKEY_LOCAL_MACHINE, TestKey);
}

TEST_CASE("text crosses in the ANSI code page") {
    REQUIRE(GetACP() == 1252); // Wine's code page under LANG=en_US.UTF-8
    const std::string folder = "C:\\Zeit \xC3\x9C"
                               "berblick \xC3\xA9";
    CHECK(win32::toAnsi(folder) == "C:\\Zeit \xDC"
                                   "berblick \xE9");
    CHECK(win32::fromAnsi(win32::toAnsi(folder)) == folder);

    clear(HKEY_LOCAL_MACHINE, TestKey);
    SaveSettingString(Machine, TestKey, "Folder", folder, "");
    char stored[64] = {};
    DWORD size = sizeof stored;
    CHECK(RegGetValueA(HKEY_LOCAL_MACHINE, TestKey.c_str(), "Folder", RRF_RT_REG_SZ, nullptr,
                       stored, &size) == ERROR_SUCCESS);
    CHECK(std::string(stored) == win32::toAnsi(folder));
    CHECK(GetSettingString(Machine, TestKey, "Folder", "") == folder);

    // What an earlier version stored through the ANSI form reads the same.
    const std::string ansi = win32::toAnsi(folder);
    setRaw("Older", REG_SZ, ansi.data(), DWORD(ansi.size()));
    CHECK(GetSettingString(Machine, TestKey, "Older", "") == folder);
    clear(HKEY_LOCAL_MACHINE, TestKey);
}

TEST_CASE("a refused machine key keeps the user's choice in the user's key") {
    clear(HKEY_LOCAL_MACHINE, SettingsKey);
    clear(HKEY_CURRENT_USER, SettingsKey);
    // What an earlier installation stored for the machine stays readable.
    SaveSettingString(Machine, SettingsKey, LogFolderValue, "C:\\Old", "");
    RefusingRegistry refusing;
    ProgramSettings user(refusing);
    CHECK(user.logFolder() == "C:\\Old");
    CHECK(user.autostart() == AutostartUndecided);
    CHECK_FALSE(user.pauseWhileLocked()); // absent: off

    user.setLogFolder("D:\\Mine");
    user.setAutostart(false);
    CHECK(user.logFolder() == "D:\\Mine");
    CHECK(user.autostart() == 0);
    CHECK(GetSettingString(User, SettingsKey, LogFolderValue, "") == "D:\\Mine");
    CHECK(GetSettingString(Machine, SettingsKey, LogFolderValue, "") == "C:\\Old");

    // An administrator's later choice goes to the machine and replaces the copy.
    ProgramSettings admin(systemRegistry());
    admin.setLogFolder("E:\\Shared");
    admin.setAutostart(true);
    CHECK(user.logFolder() == "E:\\Shared");
    CHECK(user.autostart() == 1);
    CHECK(GetSettingString(User, SettingsKey, LogFolderValue, "-") == "-");

    // Pause While Locked: on for the machine, 0 removes it again; a user
    // refused the machine's key turns off what it has on.
    admin.setPauseWhileLocked(true);
    CHECK(GetSettingDword(Machine, SettingsKey, PauseWhileLockedValue, -1) == 1);
    CHECK(user.pauseWhileLocked());
    user.setPauseWhileLocked(false);
    CHECK_FALSE(user.pauseWhileLocked());
    CHECK(GetSettingDword(User, SettingsKey, PauseWhileLockedValue, -1) == 0);
    admin.setPauseWhileLocked(false);
    CHECK(GetSettingDword(Machine, SettingsKey, PauseWhileLockedValue, -1) == -1);
    CHECK(GetSettingDword(User, SettingsKey, PauseWhileLockedValue, -1) == -1);
    clear(HKEY_LOCAL_MACHINE, SettingsKey);
    clear(HKEY_CURRENT_USER, SettingsKey);
}

TEST_CASE("Start at Login is the user's Run value, starting hidden") {
    LoginStart entry("C:\\Program Files\\Wendle\\wendle.exe");
    std::string error;
    REQUIRE(entry.setEnabled(false, error));
    CHECK_FALSE(entry.enabled());
    REQUIRE(entry.setEnabled(true, error));
    CHECK(entry.enabled());
    wchar_t command[256] = {};
    DWORD size = sizeof command;
    REQUIRE(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                         L"Quorvel Wendle", RRF_RT_REG_SZ, nullptr, command,
                         &size) == ERROR_SUCCESS);
    CHECK(std::wstring(command) == L"\"C:\\Program Files\\Wendle\\wendle.exe\" --minimized");
    REQUIRE(entry.setEnabled(false, error));
    CHECK_FALSE(entry.enabled());
    CHECK(entry.setEnabled(false, error)); // nothing to remove is no failure
}
