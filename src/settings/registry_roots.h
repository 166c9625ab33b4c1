#pragma once

#include <cstdint>

namespace wendle {

// The predefined registry roots, by their handle values. These names are
// macros in <windows.h>: the files that include this header never include it.
using RegistryRoot = std::uint32_t;
constexpr RegistryRoot HKEY_CLASSES_ROOT = 0x80000000u;
constexpr RegistryRoot HKEY_CURRENT_USER = 0x80000001u;
constexpr RegistryRoot HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr RegistryRoot HKEY_USERS = 0x80000003u;
constexpr RegistryRoot HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr RegistryRoot HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr RegistryRoot HKEY_DYN_DATA = 0x80000006u;

// Value types.
constexpr int REG_SZ = 1;
constexpr int REG_BINARY = 3;
constexpr int REG_DWORD = 4;

} // namespace wendle
