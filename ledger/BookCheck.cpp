#include "BookCheck.h"

#include "History.h"

#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <functional>

namespace arc {
namespace {

// Two passes over the table, each cheaper alone than both in one statement.
// The balances against the running sum as ACTUALIZAR_BD computes it.  A
// balance is wrong when it is missing or differs by half a cent or more:
// registering stores the fund to 15 significant digits, which may differ
// from the running sum in its last bits (0,1 + 0,2) and never in a cent.
const char kWrongBalances[] =
    "SELECT ID FROM (SELECT ID, ESTADO, SUM(INGEGR) OVER (ORDER BY rowid ROWS BETWEEN UNBOUNDED PRECEDING AND CURRENT "
    "ROW) AS SUMA FROM FINANZAS) WHERE ESTADO IS NULL OR typeof(ESTADO) NOT IN ('integer', 'real') OR "
    "abs(ESTADO - SUMA) >= 0.005 ORDER BY ID";
// Amounts stored as text, and dates other than "YYYY-MM-DD" as ParseIsoDate
// reads it (four digits from year 100 on, a day that exists: SQLite's date()
// gives another text for 2024-02-30).
const char kTextAndDates[] =
    "SELECT ID, typeof(INGRESO), typeof(EGRESO), typeof(INGEGR), INGRESO, EGRESO, FECHA_BIEN, FECHA FROM (SELECT ID, "
    "INGRESO, EGRESO, INGEGR, FECHA, typeof(FECHA) = 'text' AND FECHA GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]' "
    "AND FECHA >= '0100' AND date(FECHA) IS FECHA AS FECHA_BIEN FROM FINANZAS) WHERE NOT FECHA_BIEN OR typeof(INGRESO) "
    "IN ('text', 'blob') OR typeof(EGRESO) IN ('text', 'blob') OR typeof(INGEGR) IN ('text', 'blob') ORDER BY ID";

bool StoredAsText(std::string_view type) { return type == "text" || type == "blob"; }

// An amount as the mend writes it: a number stays, a text is read with the
// amount rule, NULL stays NULL; false when the text gives no number.
bool ReadAmount(const data::Statement& st, int column, std::string_view type, const Regional& regional,
                std::optional<double>& amount) {
    amount.reset();
    if (type == "null") return true;
    if (type == "integer" || type == "real") {
        amount = st.Real(column);
        return true;
    }
    if (type != "text") return false;
    const NumberReading reading = ReadNumber(FromUtf8(st.Text(column)), regional);
    if (reading.kind != NumberReading::Kind::Number) return false;
    amount = reading.value;
    return true;
}

// What PRAGMA quick_check says of the file, its first lines; "" for "ok".
// A check that stops at a damaged page says so itself.
std::wstring QuickCheck(sqlite3* db) {
    std::wstring said;
    try {
        data::Statement st(db, "PRAGMA quick_check");
        for (int n = 0; st.Step() && n < 3; ++n) said += (said.empty() ? L"" : L"; ") + FromUtf8(st.Text(0));
    } catch (const RuntimeError& e) {
        const long code = e.Number() & 0xFF;
        if (code != SQLITE_CORRUPT && code != SQLITE_NOTADB) throw;
        said += (said.empty() ? L"" : L"; ") + e.Description();
    }
    return said == L"ok" ? L"" : said;
}

void Run(sqlite3* db, const char* sql, const std::function<void(data::Statement&)>& bind) {
    data::Statement st(db, sql);
    bind(st);
    st.Run();
}

}  // namespace

void BookCheck::Rows::Add(std::int64_t id) {
    ++count;
    if (first.size() < kShown) first.push_back(id);
}

BookCheck CheckBook(LedgerDatabase& db, const Regional& regional) {
    sqlite3* handle = db.Connection()->Handle();
    BookCheck check;
    check.damage = QuickCheck(handle);
    // A damaged file is not read further: what it gives may be the damage.
    if (!check.damage.empty()) return check;
    check.movements = data::QueryInteger(handle, "SELECT count(*) FROM FINANZAS");

    {
        data::Statement st(handle, kWrongBalances);
        while (st.Step()) check.wrongBalances.Add(st.Integer(0));
    }
    data::Statement st(handle, kTextAndDates);
    while (st.Step()) {
        BookCheck::RowMend mend;
        mend.id = st.Integer(0);
        const std::string_view income = st.Text(1), expense = st.Text(2), signedAmount = st.Text(3);
        if (StoredAsText(income) || StoredAsText(expense) || StoredAsText(signedAmount)) {
            check.textAmounts.Add(mend.id);
            mend.amounts = ReadAmount(st, 4, income, regional, mend.income) &&
                           ReadAmount(st, 5, expense, regional, mend.expense);
            if (mend.amounts) {
                mend.signedAmount = mend.income.value_or(0) - mend.expense.value_or(0);
            } else {
                check.unreadableAmounts.Add(mend.id);
            }
        }
        if (!st.Integer(6)) {
            check.badDates.Add(mend.id);
            mend.dateBefore = st.ColumnType(7) == SQLITE_NULL ? L"" : FromUtf8(st.Text(7));
            const auto date = st.ColumnType(7) == SQLITE_TEXT ? ParseDate(mend.dateBefore, regional) : std::nullopt;
            if (date) {
                mend.date = IsoDate(DateOnly(*date));
            } else {
                check.unreadableDates.Add(mend.id);
            }
        }
        if (mend.amounts || mend.date) check.mends.push_back(std::move(mend));
    }
    return check;
}

BookMended MendBook(LedgerDatabase& db, const Regional& regional, const std::wstring& moment,
                    const std::wstring& copyName) {
    data::Transaction transaction(db.Connection());
    sqlite3* handle = db.Connection()->Handle();
    // Found again under the transaction's lock: what is mended is what the
    // book holds now.
    const BookCheck check = CheckBook(db, regional);
    if (!check.damage.empty())
        throw RuntimeError(SQLITE_CORRUPT, L"El archivo del libro está dañado (" + check.damage +
                                               L"): no se corrige; repárelo con Corvelan.");
    BookMended done;
    for (const BookCheck::RowMend& mend : check.mends) {
        std::wstring note = L"COMPROBACION=";
        if (mend.amounts) note += mend.date ? L"IMPORTES,FECHA" : L"IMPORTES";
        else note += L"FECHA";
        History::Entry entry(db, operacion::kModificacion, mend.id, moment, note);
        if (mend.amounts) {
            Run(handle, "UPDATE FINANZAS SET INGRESO = ?1, EGRESO = ?2, INGEGR = ?3 WHERE ID = ?4",
                [&](data::Statement& st) {
                    if (mend.income) st.Bind(1, *mend.income);
                    if (mend.expense) st.Bind(2, *mend.expense);
                    st.Bind(3, mend.signedAmount);
                    st.Bind(4, static_cast<long long>(mend.id));
                });
            ++done.amounts;
        }
        if (mend.date) {
            Run(handle, "UPDATE FINANZAS SET FECHA = ?1 WHERE ID = ?2", [&](data::Statement& st) {
                st.Bind(1, ToUtf8(*mend.date));
                st.Bind(2, static_cast<long long>(mend.id));
            });
            ++done.dates;
        }
        entry.Complete();
    }
    db.ACTUALIZAR_BD();
    done.balances = sqlite3_changes(handle);
    History::RecordBookEvent(db, operacion::kReparacion, moment, L"", L"",
                             L"COMPROBACION;COPIA=" + copyName + L";IMPORTES=" + std::to_wstring(done.amounts) +
                                 L";FECHAS=" + std::to_wstring(done.dates) + L";SALDOS=" + std::to_wstring(done.balances));
    transaction.Commit();
    return done;
}

}  // namespace arc
