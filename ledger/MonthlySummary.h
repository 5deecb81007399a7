#pragma once
// The figures of the monthly summary: the whole months that a range of days
// touches, each month's income, expense and result summed by SQLite, the
// fund at each month's end, and the months grouped by calendar quarter when
// the range is longer than two years.
#include "LedgerDatabase.h"

#include <string>
#include <vector>

namespace arc {

// Ranges of more months than this are summarised by quarter.
constexpr int kMonthsShownOneByOne = 24;

// A month counted from year 0: year * 12 + month - 1.
using MonthNumber = int;
MonthNumber MonthOf(double date);
inline int YearOf(MonthNumber m) { return m / 12; }
inline int MonthIn(MonthNumber m) { return m % 12 + 1; }  // 1..12
// "YYYY-MM".
std::wstring MonthKey(MonthNumber m);

// Spanish month names, "enero" and "ene", for a month 1..12.
const wchar_t* MonthName(int month);
const wchar_t* MonthAbbreviation(int month);

// One month's sums as the ledger holds them.
struct MonthTotals {
    MonthNumber month = 0;
    double income = 0, expense = 0, result = 0;  // INGRESO, EGRESO and INGEGR
};

// A line of the summary: a month, or the range's months of a quarter.
struct SummaryPeriod {
    MonthNumber first = 0, last = 0;             // its months, both included
    double income = 0, expense = 0, result = 0;  // sums of INGRESO, EGRESO and INGEGR
    double fund = 0;                             // the fund at the end of its last month
    // "ene 2026", or "ene-mar 2026" for a quarter.
    std::wstring Label() const;
};

struct MonthlySummary {
    MonthNumber first = 0, last = -1;  // the range's whole months; none when last < first
    bool byQuarter = false;
    bool hasMovements = false;         // some movement is dated within the months
    double fundBefore = 0;             // the fund before the first month
    std::vector<SummaryPeriod> periods;

    int MonthCount() const { return last >= first ? last - first + 1 : 0; }
};

// The months of the range that have movements, with their sums (fields MES
// "YYYY-MM", INGRESO, EGRESO, INGEGR), and the fund before the first month
// (field FONDO): SQLite's aggregation over FINANZAS, one pass each.
std::wstring MonthTotalsQuery(MonthNumber first, MonthNumber last);
std::wstring FundBeforeQuery(MonthNumber first);

// The summary of the months first..last from the months' sums (a month
// missing from them counts as zero) and the fund before the first month.
// Each period's fund is the fund before plus every result up to its end.
MonthlySummary SummarizeMonths(MonthNumber first, MonthNumber last, double fundBefore,
                               const std::vector<MonthTotals>& months);

// The summary of the whole months from desde's to hasta's, read on the
// database's current connection.  Raises RuntimeError when a query fails.
MonthlySummary ReadMonthlySummary(const LedgerDatabase& database, double desde, double hasta);

}  // namespace arc
