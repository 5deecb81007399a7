#pragma once
// A synthetic ledger like one kept for years: movements keyed in day by day
// over ten years, a few of them entered late (dated before the day they were
// keyed in), upper-case descriptions of 10 to 40 characters, two-decimal
// amounts, mostly expenses, and each row's balance the running sum of the
// signed amounts in row-id order, as registering leaves it.
#include "ledger/LedgerDatabase.h"

#include <cstddef>
#include <vector>

namespace arc::bench {

struct GeneratedLedger {
    std::vector<double> balances;  // ESTADO of each row, in row-id order
    double lastDay = 0;            // FECHA_OP of the last row: "today" for the day view
    double yearFrom = 0, yearTo = 0;  // the last full calendar year of the ledger
};

// The first and last day the movements are keyed in.
double FirstLedgerDay();
double LastLedgerDay();

// Fills FINANZAS of the database (opened with CONEXION, so it has the
// ledger's own schema) with the given number of rows, in one transaction
// through one prepared statement.  The same seed gives the same ledger.
GeneratedLedger GenerateLedger(LedgerDatabase& database, size_t rows, unsigned seed);

// True when every row's ESTADO is, bit for bit, the balance the generator
// gave it (rows added after generation are not looked at).
bool BalancesMatch(LedgerDatabase& database, const std::vector<double>& balances);

}  // namespace arc::bench
