#pragma once

#include "logging/log_paths.h"

#include <string>

namespace wendle::form {

// A chosen folder as the program keeps it: no trailing separator, except for
// a root, which stays "/"; a drive root such as C:\ becomes C:.
std::string cleanFolderPath(std::string path, char separator = PathSeparator);

} // namespace wendle::form
