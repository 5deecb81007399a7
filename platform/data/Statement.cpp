#include "Statement.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>

namespace arc::data {

void CloseDatabase::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &st_, nullptr);
    if (rc != SQLITE_OK) Raise(rc);
    if (!st_) Raise(SQLITE_MISUSE);  // nothing but blanks or comments
}

Statement::Statement(sqlite3* db, const char** sql) : db_(db) {
    int rc = sqlite3_prepare_v2(db_, *sql, -1, &st_, sql);
    if (rc != SQLITE_OK) Raise(rc);
}

Statement::~Statement() { sqlite3_finalize(st_); }

Statement::Statement(Statement&& other) noexcept : db_(other.db_), st_(other.st_) { other.st_ = nullptr; }

RuntimeError SqliteError(int code, sqlite3* db, const std::wstring& doing) {
    const std::wstring message = FromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    return RuntimeError(code, doing + L" (SQLite: " + message + L")");
}

void Statement::Raise(int code) const {
    const char* file = db_ ? sqlite3_db_filename(db_, "main") : nullptr;
    throw SqliteError(code, db_,
                      std::wstring(L"No se pudo leer o escribir la base de datos") + (file && *file ? L" " + FromUtf8(file) : L""));
}

void Statement::Bind(int index, double value) {
    if (int rc = sqlite3_bind_double(st_, index, value); rc != SQLITE_OK) Raise(rc);
}

void Statement::Bind(int index, long long value) {
    if (int rc = sqlite3_bind_int64(st_, index, value); rc != SQLITE_OK) Raise(rc);
}

void Statement::Bind(int index, std::string_view utf8) {
    if (int rc = sqlite3_bind_text(st_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        Raise(rc);
}

bool Statement::Step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Raise(rc);
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

int Statement::ColumnCount() const { return sqlite3_column_count(st_); }

std::string Statement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(st_, column);
    return name ? name : "";
}

int Statement::ColumnType(int column) const { return sqlite3_column_type(st_, column); }

bool Statement::IsNull(int column) const { return ColumnType(column) == SQLITE_NULL; }

long long Statement::Integer(int column) const { return sqlite3_column_int64(st_, column); }

double Statement::Real(int column) const { return sqlite3_column_double(st_, column); }

std::string_view Statement::Text(int column) const {
    // The text as UTF-8 whatever the database's own encoding (a UTF-16 file
    // would otherwise give its raw bytes); the size comes after it, as SQLite asks.
    const unsigned char* text = sqlite3_column_text(st_, column);
    const int size = sqlite3_column_bytes(st_, column);
    return text ? std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(size)) : std::string_view();
}

std::string_view Statement::Bytes(int column) const {
    const void* bytes = sqlite3_column_blob(st_, column);
    const int size = sqlite3_column_bytes(st_, column);
    return bytes ? std::string_view(static_cast<const char*>(bytes), static_cast<size_t>(size)) : std::string_view();
}

long long QueryInteger(sqlite3* db, const std::string& sql) {
    Statement st(db, sql);
    return st.Step() ? st.Integer(0) : 0;
}

bool HasTable(sqlite3* db, const std::string& name) {
    Statement st(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    st.Bind(1, name);
    return st.Step() && st.Integer(0) > 0;
}

}  // namespace arc::data
