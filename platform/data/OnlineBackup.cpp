#include "OnlineBackup.h"

#include "Statement.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

namespace arc::data {
namespace {

[[noreturn]] void Raise(sqlite3* db, int code, const std::wstring& doing) {
    throw SqliteError(code & 0xFF, db, doing);
}

DatabaseHandle OpenFile(const std::wstring& file, int flags, int timeoutMs) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(ToUtf8(file).c_str(), &raw, flags, nullptr);
    DatabaseHandle db(raw);
    if (rc != SQLITE_OK) Raise(db.get(), rc, L"No se pudo abrir la base de datos " + file);
    if (timeoutMs > 0) sqlite3_busy_timeout(db.get(), timeoutMs);
    return db;
}

// The source, opened read-only and proved to be a readable database: SQLite
// reads a file only when asked to, so a file that is no database, or one
// locked longer than the time-out, fails here and names the source.
DatabaseHandle OpenSource(const std::wstring& source, int timeoutMs) {
    DatabaseHandle from = OpenFile(source, SQLITE_OPEN_READONLY, timeoutMs);
    int rc = sqlite3_exec(from.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Raise(from.get(), rc, L"No se pudo leer la base de datos " + source);
    return from;
}

void Copy(sqlite3* from, const std::wstring& source, sqlite3* to, const std::wstring& destination) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    const std::wstring writing = L"No se pudo escribir la copia de la base de datos en " + destination;
    if (!backup) Raise(to, sqlite3_errcode(to), writing);
    // One step copies every page inside one write transaction on the
    // destination; the busy handlers of both connections do the waiting.
    int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE) return;
    // A page the source could not read is the source's failure; anything
    // else happened while writing the destination.
    const int code = rc & 0xFF;
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB) Raise(nullptr, rc, L"No se pudo leer la base de datos " + source);
    Raise(to, rc, writing);
}

}  // namespace

void CopyDatabase(const std::wstring& source, const std::wstring& destination, int timeoutMs) {
    DatabaseHandle from = OpenSource(source, timeoutMs);
    DatabaseHandle to = OpenFile(destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, timeoutMs);
    Copy(from.get(), source, to.get(), destination);
}

void CopyDatabase(const std::wstring& source, Connection& destination, int timeoutMs) {
    DatabaseHandle from = OpenSource(source, timeoutMs);
    Copy(from.get(), source, destination.Handle(), destination.Options().database);
}

}  // namespace arc::data
