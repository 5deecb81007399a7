#include "LedgerCopy.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <set>

namespace arc {
namespace {

// The columns every reader of the ledger names.
const wchar_t* const kLedgerColumns[] = {L"ID",       L"FECHA",  L"DESCRIPCION", L"INGRESO",
                                         L"EGRESO",   L"FECHA_OP", L"INGEGR",    L"ESTADO"};

std::shared_ptr<data::Recordset> Query(const std::shared_ptr<data::Connection>& connection, const wchar_t* sql) {
    auto rs = std::make_shared<data::Recordset>();
    rs->ActiveConnection = connection;
    rs->Open(sql);
    return rs;
}

LedgerCopy::Verdict FromError(long code) {
    switch (code) {
        case SQLITE_NOTADB: return LedgerCopy::Verdict::NotADatabase;
        case SQLITE_CORRUPT: return LedgerCopy::Verdict::Damaged;
        default: return LedgerCopy::Verdict::Unreadable;
    }
}

}  // namespace

LedgerCopy InspectLedgerCopy(const std::wstring& path) {
    LedgerCopy copy;
    try {
        auto connection = data::Connection::OpenReadOnly(path, 1000);
        auto check = Query(connection, L"PRAGMA integrity_check");
        if (check->Eof() || check->Field(size_t{0}).AsText() != L"ok") {
            copy.verdict = LedgerCopy::Verdict::Damaged;
            return copy;
        }
        std::set<std::wstring> columns;
        auto info = Query(connection, L"SELECT name FROM pragma_table_info('FINANZAS')");
        for (; !info->Eof(); info->MoveNext()) columns.insert(ToUpper(info->Field(size_t{0}).AsText()));
        for (const wchar_t* column : kLedgerColumns)
            if (!columns.count(column)) {
                copy.verdict = LedgerCopy::Verdict::NotALedger;
                return copy;
            }
        copy.rows = Query(connection, L"SELECT count(*) FROM FINANZAS")->Field(size_t{0}).AsInteger();
        auto last = Query(connection, L"SELECT FECHA, ESTADO FROM FINANZAS ORDER BY rowid DESC LIMIT 1");
        if (!last->Eof()) {
            copy.lastDate = last->Field(L"FECHA").AsText();
            if (!last->Field(L"ESTADO").IsNull()) copy.lastBalance = last->Field(L"ESTADO").AsDouble();
        }
        copy.verdict = LedgerCopy::Verdict::Ok;
    } catch (const RuntimeError& e) {
        copy = LedgerCopy{};
        copy.verdict = FromError(e.Number());
    }
    return copy;
}

std::wstring VerdictText(LedgerCopy::Verdict verdict) {
    switch (verdict) {
        case LedgerCopy::Verdict::Ok: return L"";
        case LedgerCopy::Verdict::Unreadable: return L"no se pudo leer";
        case LedgerCopy::Verdict::NotADatabase: return L"no es una base de datos";
        case LedgerCopy::Verdict::Damaged: return L"está dañado";
        case LedgerCopy::Verdict::NotALedger: return L"no tiene la tabla FINANZAS del libro de caja";
    }
    return L"";
}

std::wstring DescribeLedgerCopy(const LedgerCopy& copy, const Regional& regional) {
    if (copy.rows == 0) return L"No tiene movimientos.";
    std::wstring text = L"Tiene " + FormatNumber(static_cast<double>(copy.rows), L"#,##0", regional) +
                        (copy.rows == 1 ? L" movimiento" : L" movimientos");
    auto date = ParseDate(copy.lastDate, regional);
    text += L"; el último, del " + (date ? LongDate(*date, regional) : copy.lastDate) + L", deja un fondo de " +
            FormatNumber(copy.lastBalance.value_or(0), L"#,##0.00", regional) + L".";
    return text;
}

}  // namespace arc
