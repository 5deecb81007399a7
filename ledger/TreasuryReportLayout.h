#pragma once
// The layout of the treasury report: its five sections and every control
// with its place, caption, field, format and style.
#include "platform/report/ReportModel.h"

namespace arc {

report::ReportModel TreasuryReportLayout();

}  // namespace arc
