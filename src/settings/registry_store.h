#pragma once

#include "settings/reg_document.h"

#include <QString>

#include <functional>

namespace wendle {

// The user's registry file, which stands in for the registry where there is
// none: $XDG_CONFIG_HOME/wendle/registry.reg (~/.config/... by default).
//
// Readers take the file as it is: a write replaces it whole by a rename, so
// a reader sees the old or the new text, never a mix. Writers hold an
// exclusive lock on a file beside it for the whole read-change-write, so two
// programs writing at once never lose each other's values, and the new text
// is on disk before it takes the old one's place.
class RegistryStore {
public:
    static QString defaultPath();

    explicit RegistryStore(QString path = defaultPath());

    QString path() const { return m_path; }

    // The stored document; an empty one when there is no file or it cannot
    // be read.
    RegDocument read() const;

    // False when this user may not change the store: the file or its folder
    // is marked read-only or lies on a read-only file system.
    bool writable() const;

    // Runs change on the current document under the lock and stores the
    // result when change returns true. False when nothing could be stored.
    bool update(const std::function<bool(RegDocument &)> &change) const;

private:
    QString m_path;
};

} // namespace wendle
