#pragma once

namespace wendle {

// Whether an X11 system tray (the XEmbed kind) runs on the program's
// screen; false off X11.
bool xembedTrayPresent();

} // namespace wendle
