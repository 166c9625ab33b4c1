#include "logging/log_paths.h"

namespace wendle {

const char PathSeparator = '/';

const char PathListSeparator = ':';

} // namespace wendle
