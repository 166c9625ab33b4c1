#pragma once

#include "settings/registry_roots.h"

#include <QString>

namespace wendle {

// Where the program keeps its two settings, under HKEY_LOCAL_MACHINE.
inline const QString SettingsKey = QStringLiteral("SOFTWARE\\Quorvel\\Utils\\Wendle");
inline const QString LogFolderValue = QStringLiteral("LogFolder");
inline const QString AutostartValue = QStringLiteral("Autostart");

} // namespace wendle
