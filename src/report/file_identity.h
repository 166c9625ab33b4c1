#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wendle::report {

// What tells a file from another one put in its place under the same name
// (a sync tool writes a new file and renames it over the old one).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity &) const = default;
};

// The identity of the file at the path (UTF-8); nothing when it cannot be told.
std::optional<FileIdentity> fileIdentity(const std::string &path);

} // namespace wendle::report
