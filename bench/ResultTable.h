#pragma once
// The benchmark's one table: a header, a line per ledger size as soon as it
// is measured, then the targets and a closing summary line.
#include "LedgerBench.h"

#include <vector>

namespace arc::bench {

void PrintHeader(int runs, int slowRuns);
void PrintRow(const SizeResult& r);
// The targets read off the table, then the last line: the ratio at 20,000
// rows and ACTUALIZAR_BD's time at 100,000 rows.
void PrintSummary(const std::vector<SizeResult>& results);

}  // namespace arc::bench
