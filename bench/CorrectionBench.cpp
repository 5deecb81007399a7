#include "CorrectionBench.h"

#include "Stopwatch.h"

#include "ledger/MovementSearch.h"
#include "platform/data/Connection.h"

namespace arc::bench {
namespace {

// A modification of one row as "Modificar Registro" makes it (its amount's
// sign turned, so that two runs restore it), the balances recomputed from
// that row on in the same transaction, then the day view read again.
void Correct(LedgerDatabase& database, std::int64_t id, double today) {
    database.CONEXION();
    data::Transaction transaction(database.Connection());
    database.Execute(L"UPDATE FINANZAS SET INGRESO = EGRESO, EGRESO = INGRESO, INGEGR = -INGEGR WHERE ID = " +
                     std::to_wstring(id));
    database.RecomputeBalancesFrom(id);
    transaction.Commit();
    database.CONEXION();
    database.OpenRecordset(LedgerDatabase::DayViewQuery(today));
}

}  // namespace

void MeasureCorrections(LedgerDatabase& database, const GeneratedLedger& ledger, int runs, SizeResult& result) {
    // The first screen of a search by a word typed without its accent, over
    // every day of the book.
    const SearchFilter filter{FirstLedgerDay(), LastLedgerDay(), L"reunion", std::nullopt};
    result.searchMs = MedianMs(runs, [&] {
        database.CONEXION();
        result.searchRows = RunSearch(database, filter).totals.rows;
    });

    database.CONEXION();
    const auto last = static_cast<std::int64_t>(database.OpenRecordset(L"SELECT max(ID) AS N FROM FINANZAS")
                                                    ->Field(L"N").AsDouble());
    const std::int64_t yearBack = last - static_cast<std::int64_t>(ledger.balances.size() / 10);
    // An even number of runs turns each amount back to what it was.
    const int even = runs + runs % 2;
    result.correctTodayMs = MedianMs(even, [&] { Correct(database, last, ledger.lastDay); });
    result.correctYearBackMs = MedianMs(even, [&] { Correct(database, yearBack, ledger.lastDay); });
}

}  // namespace arc::bench
