#pragma once

#include <QDate>
#include <QString>

namespace wendle {

// "<folder>/<yyyy-mm-dd>.log". The folder is taken as the user sees it: no
// trailing separator, except that the root "/" must not give "//".
QString dailyLogPath(const QString &folder, const QDate &date);

} // namespace wendle
