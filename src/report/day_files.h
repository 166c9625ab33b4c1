#pragma once

#include "logging/local_time.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wendle::report {

// How sync tools name the copy they keep when two computers changed a file
// before either saw the other's change: what follows the day's date in the
// copy's name. In a pattern '#' is one digit and '*' any text of one
// character or more; everything else stands for itself.
struct ConflictNaming {
    const char *tool;
    const char *afterDate;
};
inline constexpr std::array<ConflictNaming, 8> ConflictNamings{{
    // <file>.sync-conflict-<date>-<time>-<modifiedBy>.<ext>, the short
    // device ID; a copy of a copy gets a second tag.
    {"Syncthing", ".sync-conflict-########-######-*.log"},
    // <file> (conflicted copy [<user> ]<yyyy-MM-dd> <hhmmss>).<ext>
    {"Nextcloud, ownCloud", " (conflicted copy ####-##-## ######).log"},
    {"Nextcloud, ownCloud", " (conflicted copy * ####-##-## ######).log"},
    // Their clients' older <file>_conflict-<yyyyMMdd>-<hhmmss>.<ext>
    {"Nextcloud, ownCloud", "_conflict-########-######.log"},
    // <file> (<user or computer>'s conflicted copy <yyyy-mm-dd>[ (<n>)]).<ext>
    {"Dropbox", " (*'s conflicted copy ####-##-##).log"},
    {"Dropbox", " (*'s conflicted copy ####-##-## (*)).log"},
    // <file>-<computer>.<ext>, and the Linux client's
    // <file>-<host>-safeBackup-<nnnn>.<ext>, which this also covers
    {"OneDrive", "-*.log"},
    {"OneDrive", "-*-safeBackup-####.log"},
}};

// Whether a file name is a conflict copy of the day's file of some date,
// and of which.
bool isConflictCopyName(std::string_view name, LocalDate *date = nullptr);

// A file a day is read from: its day file in each folder, and the conflict
// copies of it there. Nothing but reading is ever done to them.
struct DayFile {
    std::string path;
    // How the report names it: the file's name in the first folder, its
    // path in another.
    std::string label;
    bool copy = false;
    bool operator==(const DayFile &) const = default;
};

struct DayFiles {
    std::vector<DayFile> files;
    // Copies beyond MaxConflictCopies, not read.
    std::size_t copiesLeft = 0;
};

// Two computers logging into one file at once make a copy every few seconds:
// a day reads this many at most (they are read in the order of their names).
inline constexpr std::size_t MaxConflictCopies = 100;

// Each of `count` days from `from`: the day files of the folders, in their
// order, each followed by its copies. A folder that cannot be listed gives
// its day files alone.
std::vector<DayFiles> dayFiles(const std::vector<std::string> &folders, const LocalDate &from,
                               int count);

} // namespace wendle::report
