#include "logging/log_paths.h"

namespace wendle {

QString dailyLogPath(const QString &folder, const QDate &date) {
    const QString name = date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log");
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace wendle
