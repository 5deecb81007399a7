#pragma once
// The health check made before a repair: the chosen file is opened read-only
// through the SQLite library and checked with "PRAGMA quick_check", so that a
// damaged file is rebuilt with ".recover" and a file that is no ledger at all
// is never renamed.  A file left with a hot journal (a transaction cut short
// by a crash) is checked on a private copy of the pair, on which SQLite rolls
// the journal back; the file and its journal are only read.
#include <optional>
#include <string>

namespace arc::repair {

enum class DatabaseHealth {
    Healthy,        // quick_check answers "ok"
    Damaged,        // quick_check lists problems, or reading the schema finds corruption
    NotALedger,     // a sound or damaged database whose schema has no table FINANZAS
    NotADatabase,   // SQLite cannot read it as a database, or the file is empty
    Unreadable,     // the file cannot be opened or read now (missing, locked, I/O error)
};

struct LedgerCheck {
    DatabaseHealth health = DatabaseHealth::Unreadable;
    // The file's journal (path + "-journal") holds a transaction that must
    // be rolled back before the file can be read.
    bool hotJournal = false;
    // Rows of FINANZAS after any roll-back, when they could be counted.
    std::optional<long long> rows;
    // Rows of HISTORIAL, the book's history of changes, when the table is
    // there and they could be counted; historyUncounted when it is there
    // (or the schema cannot be read) but they could not.
    std::optional<long long> historyRows;
    bool historyUncounted = false;
};

// The journal SQLite keeps beside a database file.
std::wstring JournalOf(const std::wstring& path);

// Checks the file without changing it or its journal.  An empty (0-byte)
// file counts as no database: SQLite would take it for an empty database,
// but there is nothing in it to repair, and the batch would only set aside
// whatever file the user picked by mistake.
LedgerCheck CheckLedger(const std::wstring& path);

}  // namespace arc::repair
