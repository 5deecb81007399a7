#pragma once
// Whole-database copies through SQLite's online backup API: every page of
// one database file written into another in a single step, so the copy is
// one consistent state of the source even while other connections use it.
#include "Connection.h"

#include <string>

namespace arc::data {

// Copies the database file `source` (opened read-only) into `destination`,
// which is created when missing and otherwise replaced as one transaction:
// on any failure the destination keeps what it held.  Both sides wait up to
// the time-out for a lock.  Raises RuntimeError with SQLite's code and
// message: SQLITE_CANTOPEN, SQLITE_NOTADB, SQLITE_CORRUPT or SQLITE_BUSY for
// a source that cannot be read, SQLITE_FULL, SQLITE_IOERR or SQLITE_READONLY
// for a destination that cannot be written.
void CopyDatabase(const std::wstring& source, const std::wstring& destination, int timeoutMs);

// The same into the database of an open connection, which sees the copied
// content at once.
void CopyDatabase(const std::wstring& source, Connection& destination, int timeoutMs);

}  // namespace arc::data
