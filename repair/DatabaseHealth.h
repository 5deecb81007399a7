#pragma once
// The health check made before a repair: the chosen file is opened read-only
// through the SQLite library and checked with "PRAGMA quick_check", so that a
// damaged file is rebuilt with ".recover" and a file that is no database at
// all is never renamed.
#include <string>

namespace arc::repair {

enum class DatabaseHealth {
    Healthy,        // quick_check answers "ok"
    Damaged,        // quick_check lists problems, or reading the schema finds corruption
    NotADatabase,   // SQLite cannot read it as a database, or the file is empty
    Unreadable,     // the file cannot be opened or read now (missing, locked, I/O error)
};

// Checks the file without changing it.  An empty (0-byte) file counts as no
// database: SQLite would take it for an empty database, but there is nothing
// in it to repair, and the batch would only set aside whatever file the user
// picked by mistake.
DatabaseHealth CheckDatabase(const std::wstring& path);

}  // namespace arc::repair
