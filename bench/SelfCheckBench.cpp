#include "SelfCheckBench.h"

#include "Stopwatch.h"

#include "ledger/BookCheck.h"

namespace arc::bench {

void MeasureSelfCheck(LedgerDatabase& database, const Regional& regional, int runs, SizeResult& result) {
    BookCheck check;
    result.selfCheckMs = MedianMs(runs, [&] {
        database.CONEXION();
        check = CheckBook(database, regional);
    });
    result.selfCheckSound = check.Sound() && check.movements > 0;
}

}  // namespace arc::bench
