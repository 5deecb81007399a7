#pragma once
// A look at a copy of the ledger without changing it: the file is opened
// read-only and must be a SQLite database that passes its integrity check
// and holds FINANZAS with every column of the ledger.
#include "platform/runtime/Regional.h"

#include <optional>
#include <string>

namespace arc {

struct LedgerCopy {
    enum class Verdict {
        Ok,
        Unreadable,    // missing, locked or unreadable now
        NotADatabase,  // SQLite cannot read it as a database
        Damaged,       // the integrity check finds faults
        NotALedger,    // no FINANZAS, or one without the ledger's columns
    };
    Verdict verdict = Verdict::Unreadable;
    long long rows = 0;                  // movements in FINANZAS
    std::wstring lastDate;               // FECHA of the last movement keyed in ("" when none)
    std::optional<double> lastBalance;   // its ESTADO: the fund it leaves
};

LedgerCopy InspectLedgerCopy(const std::wstring& path);

// What is wrong with a copy of that verdict, as the user is told it
// ("está dañado", "no es una base de datos"...); "" for Ok.
std::wstring VerdictText(LedgerCopy::Verdict verdict);

// What a sound copy holds, as the user is told it: "Tiene 3 movimientos; el
// último, del <long date>, deja un fondo de 1.130,65." or "No tiene movimientos."
std::wstring DescribeLedgerCopy(const LedgerCopy& copy, const Regional& regional);

}  // namespace arc
