#include "settings/program_settings.h"

#include "settings/registry.h"

#include "logging/log_paths.h"

#include <algorithm>

namespace wendle {

std::string Registry::getString(RegistryRoot root, const std::string &name,
                                const std::string &defaultText) const {
    return GetSettingString(root, SettingsKey, name, defaultText);
}

std::int32_t Registry::getDword(RegistryRoot root, const std::string &name,
                                std::int32_t defaultNumber) const {
    return GetSettingDword(root, SettingsKey, name, defaultNumber);
}

bool Registry::saveString(RegistryRoot root, const std::string &name, const std::string &text,
                          const std::string &defaultText) {
    return SaveSettingString(root, SettingsKey, name, text, defaultText);
}

bool Registry::saveDword(RegistryRoot root, const std::string &name, std::int32_t number,
                         std::int32_t defaultNumber) {
    return SaveSettingDword(root, SettingsKey, name, number, defaultNumber);
}

Registry &systemRegistry() {
    static Registry registry;
    return registry;
}

// A value differs from its default only when stored, since writing the
// default removes it: the user's own copy, when there is one, is the newer.
ProgramSettings::ProgramSettings(Registry &registry) : m_registry(registry) {}

std::string ProgramSettings::logFolder() const {
    const std::string none;
    const std::string own = m_registry.getString(RegistryRoot::CurrentUser, LogFolderValue, none);
    return !own.empty() ? own
                        : m_registry.getString(RegistryRoot::LocalMachine, LogFolderValue, none);
}

void ProgramSettings::setLogFolder(const std::string &folder) {
    const std::string none;
    if (!m_registry.saveString(RegistryRoot::LocalMachine, LogFolderValue, folder, none))
        m_registry.saveString(RegistryRoot::CurrentUser, LogFolderValue, folder, none);
    else if (!m_registry.getString(RegistryRoot::CurrentUser, LogFolderValue, none).empty())
        m_registry.saveString(RegistryRoot::CurrentUser, LogFolderValue, none, none);
}

std::int32_t ProgramSettings::autostart() const {
    const std::int32_t own =
        m_registry.getDword(RegistryRoot::CurrentUser, AutostartValue, AutostartUndecided);
    return own != AutostartUndecided ? own
                                     : m_registry.getDword(RegistryRoot::LocalMachine,
                                                           AutostartValue, AutostartUndecided);
}

void ProgramSettings::setAutostart(bool on) {
    const std::int32_t value = on ? 1 : 0;
    if (!m_registry.saveDword(RegistryRoot::LocalMachine, AutostartValue, value,
                              AutostartUndecided))
        m_registry.saveDword(RegistryRoot::CurrentUser, AutostartValue, value, AutostartUndecided);
    else if (m_registry.getDword(RegistryRoot::CurrentUser, AutostartValue, AutostartUndecided) !=
             AutostartUndecided)
        m_registry.saveDword(RegistryRoot::CurrentUser, AutostartValue, AutostartUndecided,
                             AutostartUndecided);
}

// Absent is off on the machine's key. The user's own copy is written even
// when off, so that it can turn off what the machine's key has on.
namespace {
constexpr std::int32_t NoOwnCopy = -1;
} // namespace

bool ProgramSettings::pauseWhileLocked() const {
    const std::int32_t own =
        m_registry.getDword(RegistryRoot::CurrentUser, PauseWhileLockedValue, NoOwnCopy);
    return own != NoOwnCopy
               ? own != 0
               : m_registry.getDword(RegistryRoot::LocalMachine, PauseWhileLockedValue, 0) != 0;
}

void ProgramSettings::setPauseWhileLocked(bool on) {
    const std::int32_t value = on ? 1 : 0;
    if (!m_registry.saveDword(RegistryRoot::LocalMachine, PauseWhileLockedValue, value, 0))
        m_registry.saveDword(RegistryRoot::CurrentUser, PauseWhileLockedValue, value, NoOwnCopy);
    else if (m_registry.getDword(RegistryRoot::CurrentUser, PauseWhileLockedValue, NoOwnCopy) !=
             NoOwnCopy)
        m_registry.saveDword(RegistryRoot::CurrentUser, PauseWhileLockedValue, NoOwnCopy,
                             NoOwnCopy);
}

std::vector<std::string> ProgramSettings::extraReportFolders() const {
    const std::string none;
    std::string list = m_registry.getString(RegistryRoot::CurrentUser, ReportFoldersValue, none);
    if (list.empty())
        list = m_registry.getString(RegistryRoot::LocalMachine, ReportFoldersValue, none);
    std::vector<std::string> folders;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(PathListSeparator, start), list.size());
        folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::vector<std::string> reportFolders(const std::string &logFolder,
                                       const std::vector<std::string> &extra) {
    std::vector<std::string> folders;
    const auto add = [&](const std::string &folder) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    };
    add(logFolder);
    for (const std::string &folder : extra)
        add(folder);
    return folders;
}

} // namespace wendle
