#pragma once
// Owners of SQLite's raw handles, so that no exit path (a failed step, an
// exception while reading a row) leaves a statement unfinalised or a
// database open.
//
// Statement: one statement, prepared in its constructor and finalised in its
// destructor, with typed binds, a step that tells a row from the end and
// raises RuntimeError (SQLite's code and message) on any failure, and typed
// column reads.
#include "platform/runtime/Error.h"

#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace arc::data {

struct CloseDatabase {
    void operator()(sqlite3* db) const;
};
// A database handle of one's own (not a Connection's), closed with its owner.
using DatabaseHandle = std::unique_ptr<sqlite3, CloseDatabase>;

// A failure of SQLite as the programs show it: SQLite's code, and a sentence
// in Spanish that says what was being done, with SQLite's own message (the
// connection's, or the code's without one) after it.
RuntimeError SqliteError(int code, sqlite3* db, const std::wstring& doing);

class Statement {
public:
    // Prepares the only (or first) statement of sql; raises RuntimeError when
    // SQLite refuses it.
    Statement(sqlite3* db, std::string_view sql);
    // Prepares the first statement of *sql and moves *sql past it, for
    // scripts of several statements.  A text holding only blanks or comments
    // gives an empty statement (Empty()).
    Statement(sqlite3* db, const char** sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    bool Empty() const { return st_ == nullptr; }

    // Parameters count from 1, as in SQL's "?1".
    void Bind(int index, double value);
    void Bind(int index, long long value);
    void Bind(int index, int value) { Bind(index, static_cast<long long>(value)); }
    void Bind(int index, std::string_view utf8);

    // Runs to the next row: true when there is one, false when the statement
    // is done; raises RuntimeError on any failure.
    bool Step();
    // Steps through every row, discarding them.
    void Run();
    // Ready to step again with new binds.
    void Reset();

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL.
    int ColumnType(int column) const;
    bool IsNull(int column) const;
    long long Integer(int column) const;
    double Real(int column) const;
    // The column as UTF-8 text, or its bytes as they are stored; empty for
    // NULL. Valid until the next Step or Reset (no copy: record sets read
    // every cell).
    std::string_view Text(int column) const;
    std::string_view Bytes(int column) const;

    sqlite3_stmt* Handle() const { return st_; }

private:
    [[noreturn]] void Raise(int code) const;

    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

// The first column of the query's first row as an integer; 0 when it gives
// no row.  Raises RuntimeError as Statement does.
long long QueryInteger(sqlite3* db, const std::string& sql);
// Whether the database holds a table of that name (names are compared as
// SQLite compares them, without regard to case).
bool HasTable(sqlite3* db, const std::string& name);

}  // namespace arc::data
