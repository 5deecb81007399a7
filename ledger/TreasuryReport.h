#pragma once
// The treasury report operation of "Generar Informe" (Command1): the
// movements dated between DESDE and HASTA, in date order, in the report
// REPORT with a three-line title, shown in its modal preview.
#include "DateField.h"
#include "LedgerDatabase.h"
#include "platform/data/Recordset.h"
#include "platform/report/Report.h"
#include "platform/runtime/Host.h"

#include <memory>
#include <string>

namespace arc {

// "select FECHA, DESCRIPCION, INGRESO, EGRESO, INGEGR, ESTADO FROM FINANZAS
// WHERE FECHA BETWEEN 'desde' AND 'hasta' ORDER BY FECHA" with both days as
// "YYYY-MM-DD".
std::wstring TreasuryQuery(double desde, double hasta);

// The entity's name, CR LF, "Informe de arcandora", CR LF, "Desde <long
// date>, hasta <long date>".
std::wstring TreasuryTitle(const std::wstring& entityName, double desde, double hasta, const Regional& regional);

// The operation: CONEXION, the query on a record set with the ledger's
// settings kept in the window's record-set variable, the title and data
// source of REPORT (created on first use), and the modal preview, which
// returns when closed.  A failure to connect, to query or to show the report
// shows one message (number and description) through the host and leaves
// the window's variables as they were; it never ends the program.  Returns
// true when the preview was shown.
bool RunTreasuryReport(HWND owner, Host& host, LedgerDatabase& database, const DateField& DESDE,
                       const DateField& HASTA, const std::wstring& entityName,
                       std::shared_ptr<data::Recordset>& recordset, std::unique_ptr<report::Report>& REPORT,
                       const report::PreviewOptions& preview = {});

}  // namespace arc
