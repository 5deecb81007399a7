#include "DatabaseHealth.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>
#include <windows.h>

#include <memory>

namespace arc::repair {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

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

}  // namespace

DatabaseHealth CheckDatabase(const std::wstring& path) {
    const long long size = FileSize(path);
    if (size < 0) return DatabaseHealth::Unreadable;
    if (size == 0) return DatabaseHealth::NotADatabase;

    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(ToUtf8(path).c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) return FromError(rc);
    // The ledger may hold the file for a moment; wait as it would.
    sqlite3_busy_timeout(db.get(), 1000);

    // SQLite reads the file only now: a text file fails here with SQLITE_NOTADB,
    // a damaged schema with SQLITE_CORRUPT.
    sqlite3_stmt* st = nullptr;
    rc = sqlite3_prepare_v2(db.get(), "PRAGMA quick_check", -1, &st, nullptr);
    Statement check(st);
    if (rc != SQLITE_OK) return FromError(rc);

    bool first = true;
    bool healthy = false;
    while ((rc = sqlite3_step(check.get())) == SQLITE_ROW) {
        auto text = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
        if (first) healthy = text && std::string(text) == "ok";
        first = false;
    }
    if (rc != SQLITE_DONE) return FromError(rc);
    return healthy ? DatabaseHealth::Healthy : DatabaseHealth::Damaged;
}

}  // namespace arc::repair
