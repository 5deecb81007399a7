#pragma once
// The search over the whole book and the correction of a movement as the
// window makes them: change, recomputation from the changed row on and the
// day view's refresh.
#include "LedgerBench.h"
#include "LedgerGenerator.h"

namespace arc::bench {

// Fills searchMs, searchRows, correctTodayMs and correctYearBackMs; leaves
// every balance as it found it.
void MeasureCorrections(LedgerDatabase& database, const GeneratedLedger& ledger, int runs, SizeResult& result);

}  // namespace arc::bench
