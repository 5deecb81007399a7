#pragma once
// The measurements on one ledger size: the balance recomputation (new and
// per-row), registering a movement, the day view's query, the treasury
// report's query for one year, its pagination and its first page.
#include "platform/runtime/Regional.h"

#include <cstddef>
#include <optional>
#include <string>

namespace arc::bench {

struct SizeResult {
    size_t rows = 0;
    double generateMs = 0;
    double recomputeMs = 0;                // ACTUALIZAR_BD after today's last movement changed
    double recomputeAllMs = 0;             // ACTUALIZAR_BD when every balance changes (first movement changed)
    std::optional<double> perRowMs;        // the correlated statement, small ledgers only
    std::optional<double> ratio;           // perRowMs / recomputeMs of this run
    std::optional<double> ratioAll;        // perRowMs / recomputeAllMs of this run
    bool balancesExact = false;            // ACTUALIZAR_BD left the generator's balances
    double registerMs = 0;                 // CONEXION, fund query and insert in one transaction
    double dayViewMs = 0;                  // CONEXION and MOSTRAR's query into a record set
    size_t dayRows = 0;
    double yearQueryMs = 0;                // CONEXION and the report's query for one year
    size_t yearRows = 0;
    double paginateMs = 0;                 // laying the year's report out on pages
    size_t pages = 0;
    double contentMs = 0;                  // Layout::Content(0)
    double firstPageMs = 0;                // paginate, Content(0) and page 0 drawn to a memory DC
    double searchMs = 0;                   // a search by text over the whole book: its list and totals
    long long searchRows = 0;
    double correctTodayMs = 0;             // change, recomputation from the row on, day view: today's last row
    double correctYearBackMs = 0;          // the same for a row a tenth of the book back
    double selfCheckMs = 0;                // CONEXION and the self-check of the whole book
    bool selfCheckSound = false;           // it found the generated book sound
};

struct BenchOptions {
    int runs = 5;             // runs of each quick measurement (the median is kept)
    int slowRuns = 3;         // runs of the per-row statement and of anything on the largest ledgers
    size_t perRowLimit = 20000;  // the per-row statement is measured up to this size
    size_t slowFrom = 1000000;   // from this size on, every measurement takes slowRuns runs
};

// Builds a ledger of the given size in its own folder inside parent,
// measures it and removes it.  Progress goes to the error stream.
SizeResult MeasureLedger(size_t rows, const std::wstring& parent, const Regional& regional,
                         const BenchOptions& options);

}  // namespace arc::bench
