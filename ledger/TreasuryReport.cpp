#include "TreasuryReport.h"

#include "History.h"
#include "ReportChanges.h"
#include "TreasuryReportLayout.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/window/Form.h"

namespace arc {

std::wstring TreasuryQuery(double desde, double hasta) {
    return L"select FECHA, DESCRIPCION, INGRESO, EGRESO, INGEGR, ESTADO FROM FINANZAS WHERE FECHA BETWEEN '" +
           IsoDate(desde) + L"' AND '" + IsoDate(hasta) + L"' ORDER BY FECHA";
}

std::wstring TreasuryTitle(const std::wstring& entityName, double desde, double hasta, const Regional& regional) {
    return entityName + L"\r\n" + L"Informe de arcandora" + L"\r\n" + L"Desde " +
           FormatDate(desde, L"DDDDDD", regional) + L", hasta " + FormatDate(hasta, L"DDDDDD", regional);
}

bool RunTreasuryReport(HWND owner, Host& host, LedgerDatabase& database, const DateField& DESDE,
                       const DateField& HASTA, const std::wstring& entityName,
                       std::shared_ptr<data::Recordset>& recordset, std::unique_ptr<report::Report>& REPORT,
                       const report::PreviewOptions& preview) {
    // What the window holds before, put back if anything fails.
    auto previousRecordset = recordset;
    try {
        database.CONEXION();
        recordset = database.OpenRecordset(TreasuryQuery(DESDE.DateTime(), HASTA.DateTime()));
        std::wstring title = TreasuryTitle(entityName, DESDE.DateTime(), HASTA.DateTime(), host.Regional());
        if (!REPORT) REPORT = std::make_unique<report::Report>(TreasuryReportLayout());
        REPORT->SetTitle(title);
        REPORT->SetClosingSections(ChangesInPeriod(database, DESDE.DateTime(), HASTA.DateTime(),
                                                   History::Moment(host.Now()), host.Regional()));
        REPORT->SetDataSource(std::make_shared<report::RecordsetSource>(recordset));
        REPORT->Show(owner, host, preview);
        return true;
    } catch (...) {
        recordset = previousRecordset;
        ShowRuntimeError(host, owner, CurrentError());
    }
    return false;
}

}  // namespace arc
