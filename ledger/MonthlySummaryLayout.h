#pragma once
// The layout of the monthly summary: the title (the entity's name and the
// months), then the chart, or a notice in its place when the months have no
// movements; then the table of the periods (month or quarter, income,
// expense, result, fund at its end) with its headings on every page, and a
// totals line.  Its spreadsheet copy holds the table's rows with the period
// as "YYYY-MM".  The data source's fields are MES (the period's name),
// PERIODO ("YYYY-MM" of its first month), INGRESO, EGRESO, RESULTADO, FONDO.
#include "MonthlySummary.h"
#include "platform/report/ReportModel.h"
#include "platform/runtime/Regional.h"

namespace arc {

// The body's width in twips: A4 and Letter take it at full size with 10 mm
// or more to spare at each side.
constexpr int kSummaryWidth = 10200;

report::ReportModel MonthlySummaryLayout(const MonthlySummary& summary, const Regional& regional);

}  // namespace arc
