#pragma once
// The monthly summary of a range of days ("Informes > Resumen mensual"): the
// whole months the range touches, read from the ledger, laid out with its
// chart and table, and shown in the report's modal preview, from which it
// prints, saves as PDF and as a spreadsheet copy.
#include "LedgerDatabase.h"
#include "MonthlySummary.h"
#include "platform/report/MemorySource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/runtime/Host.h"

#include <memory>
#include <string>

namespace arc {

// The entity's name, CR LF, "Resumen mensual", CR LF, the months ("De enero
// de 2026 a marzo de 2026", or "Enero de 2026" for one), and when the
// periods are quarters, a fourth line that says so.
std::wstring MonthlySummaryTitle(const std::wstring& entityName, const MonthlySummary& summary);

// The table's rows, one per period, with the fields the summary's layout
// reads (MES, PERIODO, INGRESO, EGRESO, RESULTADO, FONDO).
std::shared_ptr<report::MemorySource> MonthlySummaryRows(const MonthlySummary& summary);

// The operation: CONEXION, the summary of the months from desde's to
// hasta's read with two aggregate queries, and its report shown modally; it
// returns when the preview is closed.  A failure to connect, to read or to
// show shows one message (number and description) through the host; it
// never ends the program.  Returns true when the preview was shown.
bool RunMonthlySummary(HWND owner, Host& host, LedgerDatabase& db, double desde, double hasta,
                       const std::wstring& entityName, const report::PreviewOptions& preview = {});

}  // namespace arc
