#pragma once

#include <cstdint>

namespace wendle {

// The predefined registry roots, by their handle values.
enum class RegistryRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

// Value types, by their numbers in the registry. A stored value may carry
// any other number too, so these stay plain numbers.
namespace RegType {
constexpr int String = 1;
constexpr int Binary = 3;
constexpr int Dword = 4;
} // namespace RegType

} // namespace wendle
