#pragma once

#include "settings/registry_roots.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wendle {

// Where the program keeps its two settings.
inline const std::string SettingsKey = "SOFTWARE\\Quorvel\\Utils\\Wendle";
inline const std::string LogFolderValue = "LogFolder";
inline const std::string AutostartValue = "Autostart";
inline const std::string ReportFoldersValue = "ReportFolders";
constexpr std::int32_t AutostartUndecided = -1;
inline const std::string PauseWhileLockedValue = "PauseWhileLocked";

// The registry operations as an object, so that a test can refuse what the
// system's registry would refuse a user without administrator rights.
class Registry {
public:
    virtual ~Registry() = default;
    virtual std::string getString(RegistryRoot root, const std::string &name,
                                  const std::string &defaultText) const;
    virtual std::int32_t getDword(RegistryRoot root, const std::string &name,
                                  std::int32_t defaultNumber) const;
    virtual bool saveString(RegistryRoot root, const std::string &name, const std::string &text,
                            const std::string &defaultText);
    virtual bool saveDword(RegistryRoot root, const std::string &name, std::int32_t number,
                           std::int32_t defaultNumber);
};

// The log folder, the auto-start choice and Pause While Locked under
// SettingsKey of the machine.
// A user without administrator rights may not write the machine's key on
// Windows: then the value goes to the same key of the user's own root, which
// is read first, so a choice once made is never lost. A value written to
// the machine's key removes the user's older copy.
class ProgramSettings {
public:
    explicit ProgramSettings(Registry &registry);

    // Empty when no folder was ever chosen.
    std::string logFolder() const;
    void setLogFolder(const std::string &folder);
    // 1 on, 0 off, AutostartUndecided while the user was never asked; a
    // number stored by hand may be anything else.
    std::int32_t autostart() const;
    void setAutostart(bool on);
    // "Pause While Locked": off while absent.
    bool pauseWhileLocked() const;
    void setPauseWhileLocked(bool on);
    // The folders the report reads beside the log folder (other computers'
    // log folders), stored only by hand: one text, the folders separated as
    // in PATH (":" on Linux, ";" on Windows).
    std::vector<std::string> extraReportFolders() const;

private:
    Registry &m_registry;
};

// The folders the report reads: the log folder, then the extra ones; each
// once, none empty.
std::vector<std::string> reportFolders(const std::string &logFolder,
                                       const std::vector<std::string> &extra);

// The system's own registry (or the user's registry file).
Registry &systemRegistry();

} // namespace wendle
