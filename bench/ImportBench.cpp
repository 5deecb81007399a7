#include "ImportBench.h"

#include "LedgerGenerator.h"
#include "ScratchFolder.h"
#include "Stopwatch.h"

#include "ledger/LedgerDatabase.h"
#include "ledger/Norma43Reader.h"
#include "ledger/StatementImport.h"
#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"
#include "support/StatementFiles.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace arc::bench {
namespace {

std::string Yymmdd(double date) {
    const DateParts p = SplitDate(date);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d", p.year % 100, p.month, p.day);
    return buf;
}

// The last year of the ledger as the bank lists it: one movement in ten is
// one the book holds (same day, amount and description), the rest are new.
test::N43Account Statement(LedgerDatabase& database, const GeneratedLedger& ledger, size_t movements) {
    test::N43Account a;
    a.from = Yymmdd(ledger.yearFrom);
    a.to = Yymmdd(ledger.yearTo);
    data::Statement book(database.Connection()->Handle(),
                         "SELECT FECHA, INGEGR, DESCRIPCION FROM FINANZAS WHERE FECHA BETWEEN ?1 AND ?2 ORDER BY ID");
    book.Bind(1, ToUtf8(IsoDate(ledger.yearFrom)));
    book.Bind(2, ToUtf8(IsoDate(ledger.yearTo)));
    std::mt19937 random(43);
    while (a.movements.size() < movements / 10 && book.Step()) {
        if (random() % 5) continue;
        const std::string iso(book.Text(0));
        a.movements.push_back({iso.substr(2, 2) + iso.substr(5, 2) + iso.substr(8, 2),
                               std::llround(book.Real(1) * 100), {FromUtf8(book.Text(2))}});
    }
    std::uniform_int_distribution<int> day(0, static_cast<int>(ledger.yearTo - ledger.yearFrom));
    std::uniform_int_distribution<int> cents(1, 2000000);
    while (a.movements.size() < movements) {
        const int n = static_cast<int>(a.movements.size());
        a.movements.push_back({Yymmdd(ledger.yearFrom + day(random)), n % 3 ? -cents(random) : cents(random),
                               {L"RECIBO " + std::to_wstring(n) + L" DOMICILIACION PROVEEDOR", L"REFERENCIA MANDATO"}});
    }
    std::stable_sort(a.movements.begin(), a.movements.end(), [](auto& x, auto& y) { return x.date < y.date; });
    return a;
}

}  // namespace

ImportTimes MeasureImport(size_t bookRows, size_t movements, const std::wstring& parent, int runs) {
    ImportTimes t;
    t.bookRows = bookRows;
    t.movements = movements;
    ScratchFolder folder(L"import_" + std::to_wstring(bookRows), parent);
    LedgerDatabase database(folder.Path());
    database.CONEXION();
    std::fprintf(stderr, "import: generating %zu rows\n", bookRows);
    const GeneratedLedger ledger = GenerateLedger(database, bookRows, 20260127u);
    const std::wstring file = folder.Path() + L"\\extracto.n43";
    test::WriteBytes(file, test::Norma43File({Statement(database, ledger, movements)}));
    const Regional regional = RegionalFor(L"es-ES");

    std::fprintf(stderr, "import: preview of %zu movements\n", movements);
    std::optional<ImportPlan> plan;
    t.previewMs = MedianMs(runs, [&] {
        const FileBytes bytes = ReadFileBytes(file, 64u << 20);
        auto accounts = ReadNorma43(FromFileBytes(bytes.bytes), regional);
        database.CONEXION();
        plan = PlanImport(*database.Connection(), std::move(accounts.front()), std::nullopt);
    });
    t.alreadyInBook = static_cast<size_t>(
        std::count_if(plan->rows.begin(), plan->rows.end(), [](const ImportCandidate& c) { return c.inBook != 0; }));

    std::fprintf(stderr, "import: writing\n");
    const double today = ledger.lastDay + 1;
    ImportOutcome outcome;
    t.importMs = MedianMs(
        runs,
        [&] {
            database.CONEXION();
            outcome = WriteImport(database.Connection(), *plan, L"extracto.n43", today, std::nullopt, {});
        },
        [&] {
            database.CONEXION();
            database.Execute(L"DELETE FROM FINANZAS WHERE ID > " + std::to_wstring(bookRows) +
                             L"; DELETE FROM EXTRACTO_MOVIMIENTOS; DELETE FROM EXTRACTOS");
        });
    t.written = outcome.written.size();
    return t;
}

}  // namespace arc::bench
