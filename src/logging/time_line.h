#pragma once

#include <QByteArray>
#include <QTime>

namespace wendle {

// One log line: the time of day in the user's long time format (LC_TIME's %X),
// in the locale's own encoding, ended by CR LF.
QByteArray timeLine(const QTime &time);

} // namespace wendle
