#pragma once
// The self-check of the book as the start and "Comprobar el libro..." make
// it: a fresh connection, then the file's quick check and the one pass over
// every movement.
#include "LedgerBench.h"

#include "ledger/LedgerDatabase.h"

namespace arc::bench {

// Fills selfCheckMs and selfCheckSound (the generated ledger, whose balances
// are exact, must be found sound).
void MeasureSelfCheck(LedgerDatabase& database, const Regional& regional, int runs, SizeResult& result);

}  // namespace arc::bench
