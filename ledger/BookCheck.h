#pragma once
// The self-check of the book, cheap enough for every start: the file's own
// check (PRAGMA quick_check), amounts stored as text (a ledger carried over
// from the old program can hold '1.000,50', which the grid shows as 1.000,5
// and SQL sums as 1), balances that are not the running sum of the signed
// amounts in ID order, and dates that are not "YYYY-MM-DD".  And its mend:
// the amounts read with the one amount rule and written as numbers, the
// dates read as the date fields read them and written as "YYYY-MM-DD",
// every balance recomputed; each movement mended is an entry of the
// history, and the mend as a whole a REPARACION entry.
#include "LedgerDatabase.h"

#include "platform/runtime/Regional.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arc {

struct BookCheck {
    // Rows with one kind of fault: how many, and the IDs of the first few.
    struct Rows {
        static constexpr size_t kShown = 5;
        long long count = 0;
        std::vector<std::int64_t> first;
        void Add(std::int64_t id);
    };
    // A movement the mend can set right: its new values, and its texts before
    // and after for the question that offers the mend.
    struct RowMend {
        std::int64_t id = 0;
        bool amounts = false;  // INGRESO, EGRESO and INGEGR written as numbers
        std::optional<double> income, expense;  // nullopt: NULL, left so
        double signedAmount = 0;                // INGRESO - EGRESO
        std::optional<std::wstring> date;       // the new FECHA, "YYYY-MM-DD"
        std::wstring dateBefore;
    };

    std::wstring damage;      // what PRAGMA quick_check says, when it is not "ok"
    long long movements = 0;  // rows of FINANZAS
    Rows textAmounts;         // INGRESO, EGRESO or INGEGR stored as text (or bytes)
    Rows unreadableAmounts;   // of those, income or expense that gives no number
    Rows wrongBalances;       // ESTADO other than the running sum of INGEGR
    Rows badDates;            // FECHA other than a valid "YYYY-MM-DD"
    Rows unreadableDates;     // of those, a text that reads as no date at all
    std::vector<RowMend> mends;

    bool Sound() const { return damage.empty() && !textAmounts.count && !wrongBalances.count && !badDates.count; }
    // Something the mend can set right (a damaged file is Corvelan's matter).
    bool Mendable() const { return damage.empty() && (!mends.empty() || wrongBalances.count); }
};

// Reads the book on the database's current connection; changes nothing.
// Amounts are read by the regional settings, as the amount boxes read them.
BookCheck CheckBook(LedgerDatabase& db, const Regional& regional);

struct BookMended {
    long long amounts = 0;   // movements whose amounts were written as numbers
    long long dates = 0;     // movements whose date was written as "YYYY-MM-DD"
    long long balances = 0;  // balances that changed
};

// Checks the book again and mends what it finds, in one transaction on the
// current connection: each movement mended is a MODIFICACION entry of the
// history (note "COMPROBACION=IMPORTES", "COMPROBACION=FECHA" or both), so
// that the history still matches the book, then every balance is recomputed
// and one REPARACION entry notes the mend and the copy made before it
// ("COMPROBACION;COPIA=<copy>;IMPORTES=n;FECHAS=n;SALDOS=n").  Raises
// RuntimeError, with nothing changed, when the book cannot be written or
// is found damaged.
BookMended MendBook(LedgerDatabase& db, const Regional& regional, const std::wstring& moment,
                    const std::wstring& copyName);

}  // namespace arc
