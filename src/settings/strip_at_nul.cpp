#include "settings/registry.h"

namespace wendle {

QString StripAtNul(const QString &text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

} // namespace wendle
