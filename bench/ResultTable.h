#pragma once
// The benchmark's one table: a header, a line per ledger size as soon as it
// is measured, then the targets and a closing summary line.
#include "ImportBench.h"
#include "LedgerBench.h"

#include <optional>

#include <vector>

namespace arc::bench {

void PrintHeader(int runs, int slowRuns);
void PrintRow(const SizeResult& r);
// The targets read off the table (and the statement import's, when it was
// measured), then the last line: the ratio at 20,000 rows and
// ACTUALIZAR_BD's time at 100,000 rows.
void PrintSummary(const std::vector<SizeResult>& results, const std::optional<ImportTimes>& import = std::nullopt);

}  // namespace arc::bench
