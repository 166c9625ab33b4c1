#pragma once

#include <cstdint>

namespace wendle::form {

// Colours written as 0x800000NN name the user's system colour number NN and
// follow the user's colour scheme; any other value is a fixed 0x00BBGGRR.
namespace SysColor {
constexpr std::uint32_t WindowText = 0x80000008;
constexpr std::uint32_t ButtonFace = 0x8000000F;
constexpr std::uint32_t ButtonShadow = 0x80000010;
} // namespace SysColor

constexpr bool isSystemColor(std::uint32_t code) {
    return (code & 0x80000000u) != 0;
}
constexpr int systemColorIndex(std::uint32_t code) {
    return static_cast<int>(code & 0xFF);
}

// The window's idle and logging looks: Start only when idle, Stop only while
// logging, the folder and its button greyed while logging.
struct Look {
    bool startEnabled;
    bool stopEnabled;
    bool browseEnabled;
    std::uint32_t folderColor; // the folder label's and the folder box's text
};

constexpr Look lookFor(bool logging) {
    return logging ? Look{false, true, false, SysColor::ButtonShadow}
                   : Look{true, false, true, SysColor::WindowText};
}

} // namespace wendle::form
