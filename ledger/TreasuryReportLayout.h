#pragma once
// The layout of the treasury report: its five sections and every control
// with its place, caption, field, format and style.
#include "platform/report/ReportModel.h"

namespace arc {

// The first cell of the spreadsheet copy's totals line, which names what the
// sum under Estado is.
inline constexpr wchar_t kCsvTotalsLabel[] = L"Total del período (en Estado, el saldo: Ingreso - Egreso; no es el fondo)";

report::ReportModel TreasuryReportLayout();

}  // namespace arc
