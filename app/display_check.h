#pragma once

#include <QString>

// Without a display Qt aborts with a terse fatal message; say plainly what
// is missing instead. Returns an empty text when a display is there.
QString missingDisplayMessage(const QString &program);
