#include "DatabaseHealth.h"

#include "platform/data/Statement.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>
#include <windows.h>

namespace arc::repair {
namespace {

DatabaseHealth FromError(int code) {
    switch (code & 0xFF) {
        case SQLITE_NOTADB:
            return DatabaseHealth::NotADatabase;
        case SQLITE_CORRUPT:
            return DatabaseHealth::Damaged;
        default:
            return DatabaseHealth::Unreadable;
    }
}

// The size of the file, or -1 when it cannot be read.
long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A copy of the file and its journal in the temporary folder, removed again
// with this object; SQLite may write to it as it likes.
class PrivateCopy {
public:
    bool Make(const std::wstring& file) {
        wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
        if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"cor", 0, name)) return false;
        path_ = name;
        return CopyFileW(file.c_str(), path_.c_str(), FALSE) &&
               CopyFileW(JournalOf(file).c_str(), JournalOf(path_).c_str(), FALSE);
    }
    ~PrivateCopy() {
        if (path_.empty()) return;
        DeleteFileW(JournalOf(path_).c_str());
        DeleteFileW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// Runs a query and gives the first column of its first row as text; the
// SQLite result code goes to rc (SQLITE_DONE when all went well).
std::string FirstValue(sqlite3* db, const char* sql, int& rc) {
    try {
        data::Statement st(db, sql);
        std::string first;
        bool seen = false;
        while (st.Step()) {
            if (!seen && st.ColumnType(0) != SQLITE_NULL) first = st.Text(0);
            seen = true;
        }
        rc = SQLITE_DONE;
        return first;
    } catch (const RuntimeError& e) {
        rc = static_cast<int>(e.Number());
        return {};
    }
}

LedgerCheck CheckOpenDatabase(sqlite3* db, LedgerCheck result) {
    // SQLite reads the file only now: a text file fails here with SQLITE_NOTADB;
    // a damaged file lists its faults, or stops the check with SQLITE_CORRUPT,
    // and what can still be read of it is counted below.
    int rc = SQLITE_OK;
    const std::string verdict = FirstValue(db, "PRAGMA quick_check", rc);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        result.health = FromError(rc);
        if (result.health != DatabaseHealth::Damaged) return result;
    } else {
        result.health = verdict == "ok" ? DatabaseHealth::Healthy : DatabaseHealth::Damaged;
    }

    // A schema that can be read and has no FINANZAS is no ledger, damaged or
    // not; one that cannot be read is left to the recovery to find.
    const std::string tables =
        FirstValue(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'FINANZAS' COLLATE NOCASE", rc);
    if (rc == SQLITE_DONE && tables == "0") {
        result.health = DatabaseHealth::NotALedger;
        return result;
    }
    const std::string rows = FirstValue(db, "SELECT count(*) FROM FINANZAS", rc);
    if (rc == SQLITE_DONE && !rows.empty()) result.rows = std::stoll(rows);

    // The history travels with the book: its rows are counted as well.
    const std::string history =
        FirstValue(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'HISTORIAL' COLLATE NOCASE", rc);
    if (rc == SQLITE_DONE && history == "0") return result;
    std::string entries;
    if (rc == SQLITE_DONE) entries = FirstValue(db, "SELECT count(*) FROM HISTORIAL", rc);
    // Its entries are numbered from 1 and never removed, so where a damaged
    // page stops the count, the last number (read along the table's right
    // edge alone) still tells how many there were.
    if (rc != SQLITE_DONE && !history.empty()) entries = FirstValue(db, "SELECT max(NUM) FROM HISTORIAL", rc);
    if (rc == SQLITE_DONE) result.historyRows = entries.empty() ? 0 : std::stoll(entries);
    else result.historyUncounted = true;
    return result;
}

}  // namespace

std::wstring JournalOf(const std::wstring& path) { return path + L"-journal"; }

LedgerCheck CheckLedger(const std::wstring& path) {
    LedgerCheck result;
    const long long size = FileSize(path);
    if (size < 0) return result;
    if (size == 0) {
        result.health = DatabaseHealth::NotADatabase;
        return result;
    }

    // A journal with content may hold a transaction that a crash cut short.
    // SQLite would roll it back into the file on the first read, and a
    // read-only connection refuses to read at all; so the pair is copied and
    // the copy rolled back instead.
    result.hotJournal = FileSize(JournalOf(path)) > 0;
    PrivateCopy copy;
    if (result.hotJournal && !copy.Make(path)) return result;
    const std::wstring& file = result.hotJournal ? copy.Path() : path;

    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(ToUtf8(file).c_str(), &raw,
                             result.hotJournal ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    data::DatabaseHandle db(raw);
    if (rc != SQLITE_OK) {
        result.health = FromError(rc);
        return result;
    }
    // The ledger may hold the file for a moment; wait as it would.
    sqlite3_busy_timeout(db.get(), 1000);
    return CheckOpenDatabase(db.get(), result);
}

}  // namespace arc::repair
