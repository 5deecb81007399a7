#include "LedgerFiles.h"

#include "support/LedgerTable.h"
#include "support/TempFolder.h"

#include <sqlite3.h>
#include <windows.h>

#include <stdexcept>

namespace arc::test {
namespace {

void Exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string message = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(message);
    }
}

// Opens the database, runs the work on it and closes it again.
template <class Work>
void WithDatabase(const std::wstring& path, Work work) {
    sqlite3* db = nullptr;
    if (sqlite3_open16(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create a database");
    }
    try {
        work(db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

}  // namespace

void MakeDatabase(const std::wstring& path, const std::string& sql) {
    WithDatabase(path, [&](sqlite3* db) { Exec(db, sql); });
}

void MakeLedger(const std::wstring& path, int rows, int deleteEvery) {
    WithDatabase(path, [&](sqlite3* db) {
        Exec(db, kLedgerTable);
        Exec(db,
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
                 ") INSERT INTO FINANZAS SELECT NULL, '2024-03-05', 'MOVIMIENTO ' || i, i % 7, 0, '2024-03-05', "
                 "i % 7, 0 FROM n");
        if (deleteEvery > 0) Exec(db, "DELETE FROM FINANZAS WHERE ID % " + std::to_string(deleteEvery) + " = 0");
        Exec(db, "UPDATE FINANZAS SET estado = (SELECT SUM(INGEGR) FROM FINANZAS AS t2 WHERE t2.rowid <= FINANZAS.rowid)");
    });
}

void MakeCrashedLedger(const std::wstring& path, int rows) {
    const std::wstring scratch = path + L".scratch";
    MakeLedger(scratch, rows);
    WithDatabase(scratch, [&](sqlite3* db) {
        // A cache of a few pages makes SQLite write changed pages into the
        // file before the commit, once their originals are in the journal.
        Exec(db, "PRAGMA cache_size = 5; BEGIN; UPDATE FINANZAS SET DESCRIPCION = 'SIN CONFIRMAR', INGEGR = 0");
        // The crash: the pair as the disk holds it now.
        WriteBytes(path, ReadBytes(scratch));
        WriteBytes(path + L"-journal", ReadBytes(scratch + L"-journal"));
        Exec(db, "ROLLBACK");
    });
    DeleteFileW(scratch.c_str());
}

void DamagePages(const std::wstring& path, std::initializer_list<int> pages) {
    std::string bytes = ReadBytes(path);
    const std::string garbage = "basura en la pagina ";
    for (int page : pages) {
        size_t at = static_cast<size_t>(page - 1) * 4096;
        for (size_t i = 0; i < 4096 && at + i < bytes.size(); ++i) bytes[at + i] = garbage[i % garbage.size()];
    }
    WriteBytes(path, bytes);
}

}  // namespace arc::test
