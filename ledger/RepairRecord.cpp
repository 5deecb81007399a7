#include "RepairRecord.h"

#include "History.h"
#include "LedgerSchema.h"

#include "platform/data/Statement.h"
#include "platform/runtime/Text.h"

#include <utility>
#include <vector>

namespace arc {

using data::HasTable;
using data::QueryInteger;

void RecordRepairs(LedgerDatabase& db, const std::wstring& moment) {
    sqlite3* handle = db.Connection()->Handle();
    const std::string table = ToUtf8(kPendingRepairTable);
    if (!HasTable(handle, table)) return;

    data::Transaction transaction(db.Connection());
    std::vector<std::pair<std::wstring, std::wstring>> repairs;
    {
        data::Statement st(handle, "SELECT MOMENTO, NOTA FROM " + table + " ORDER BY rowid");
        while (st.Step()) repairs.emplace_back(FromUtf8(st.Text(0)), FromUtf8(st.Text(1)));
    }
    // What the repaired book holds, before anything is added to it.
    const long long rows = QueryInteger(handle, "SELECT count(*) FROM FINANZAS");
    const long long entries =
        HasTable(handle, "HISTORIAL") ? QueryInteger(handle, "SELECT count(*) FROM HISTORIAL") : 0;
    for (size_t i = 0; i < repairs.size(); ++i) {
        std::wstring note = L"REPARADO=" + repairs[i].first + L";" + repairs[i].second;
        if (i + 1 == repairs.size())
            note += L";FILAS=" + std::to_wstring(rows) + L";HISTORIAL=" + std::to_wstring(entries);
        History::RecordBookEvent(db, operacion::kReparacion, moment, L"", L"", note);
    }
    db.Execute(L"DROP TABLE " + std::wstring(kPendingRepairTable));
    transaction.Commit();
}

}  // namespace arc
