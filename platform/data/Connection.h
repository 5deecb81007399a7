#pragma once
// A connection to a SQLite database, opened from an ODBC-style connection
// string such as
//   DRIVER=SQLite3 ODBC Driver;Database=C:\ARCANDORA\BD.db;LongNames=0;
//   Timeout=1000;NoTXN=0;SyncPragma=NORMAL;StepAPI=0;
// The driver must be "SQLite3 ODBC Driver"; Database names the file (created
// when missing); Timeout is the busy time-out in milliseconds; SyncPragma
// sets PRAGMA synchronous; NoTXN=0 runs every statement as its own
// transaction; LongNames and StepAPI are accepted.  Failures raise
// RuntimeError with SQLite's result code and description.
//
// Connections are shared: record sets keep theirs alive while they live.
#include "platform/runtime/Error.h"

#include <memory>
#include <string>

struct sqlite3;

namespace arc::data {

struct ConnectionOptions {
    std::wstring driver;
    std::wstring database;
    int timeoutMs = 0;
    std::wstring syncPragma;
    bool noTxn = false;
};

// Reads a connection string; raises RuntimeError for a wrong driver or a
// missing database.
ConnectionOptions ParseConnectionString(const std::wstring& text);

class Connection {
public:
    // Opens (creating the file when missing) and proves the file is a
    // readable database.  A missing folder, a file that is not a database or
    // a database locked longer than the time-out raise RuntimeError.
    static std::shared_ptr<Connection> Open(const std::wstring& connectionString);
    // Opens an existing database file for reading only, waiting up to the
    // time-out for a lock, and proves it is a readable database; nothing can
    // be written through it.  Raises RuntimeError like Open.
    static std::shared_ptr<Connection> OpenReadOnly(const std::wstring& file, int timeoutMs);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Executes one or more statements, discarding any rows they return.
    void Execute(const std::wstring& sql);

    const ConnectionOptions& Options() const { return options_; }
    sqlite3* Handle() const { return db_; }
    // The row id of the last row inserted through this connection.
    long long LastInsertId() const;
    // Whether a transaction is open on this connection.
    bool InTransaction() const;

    // RuntimeError from the connection's last failure.
    [[noreturn]] void Raise(int code) const;

private:
    Connection() = default;
    sqlite3* db_ = nullptr;
    ConnectionOptions options_;
};

// A transaction around several statements: BEGIN IMMEDIATE at construction,
// COMMIT on Commit(), ROLLBACK when destroyed without a commit.
class Transaction {
public:
    explicit Transaction(std::shared_ptr<Connection> connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    std::shared_ptr<Connection> connection_;
    bool open_ = false;
};

// The number a connection-level error carries when SQLite gives none.

}  // namespace arc::data
