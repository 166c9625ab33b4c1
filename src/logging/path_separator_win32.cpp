#include "logging/log_paths.h"

namespace wendle {

const char PathSeparator = '\\';

} // namespace wendle
