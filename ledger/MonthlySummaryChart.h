#pragma once
// The summary's chart as report controls, which the report runtime draws like
// any other control on the screen, the printer and the PDF: each period's
// income (green) and expense (red) as bars side by side over an amount axis,
// the Spanish month (or quarter) and year under them, and below, on the same
// time axis, the fund at each period's end as a line over its own axis.
// Amounts on the axes are in the regional format.
#include "MonthlySummary.h"
#include "platform/report/ReportModel.h"
#include "platform/runtime/Regional.h"

#include <vector>

namespace arc {

struct SummaryChart {
    std::vector<report::ReportControl> controls;
    int height = 0;  // twips below the top it was given
};

// The chart of a summary with at least one period, from top (twips within
// its section) down, across a body of the given width.
SummaryChart MonthlySummaryChart(const MonthlySummary& summary, const Regional& regional, int top, int width);

}  // namespace arc
