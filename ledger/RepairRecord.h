#pragma once
// A repair made by Corvelan, entered in the book's history: the repaired
// database carries one note per repair (kPendingRepairTable, LedgerSchema.h),
// since the repair's batch cannot compute the history's fingerprints.  At
// its start the ledger turns each note into a REPARACION entry and drops the
// table, in one transaction, so that every repair is entered once.
#include "LedgerDatabase.h"

#include <string>

namespace arc {

// On the database's current connection; nothing happens when there is no
// note.  The entry's note is the repair's own ("REPARADO=<when>;ARCHIVO=...",
// LedgerSchema.h), the last one followed by what the repaired book holds:
// ";FILAS=<movements>;HISTORIAL=<entries before this one>".  Raises
// RuntimeError when the book cannot be written; the notes then stay for the
// next start.
void RecordRepairs(LedgerDatabase& db, const std::wstring& moment);

}  // namespace arc
