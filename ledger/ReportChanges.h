#pragma once
// "Cambios en el período", the end of the treasury report: every correction
// (modification or removal) that the history holds of a movement dated in
// the range, before and after, then the fingerprint of the history's last
// entry and when it was read, so that the printed report can be held
// against the book.  Nothing when there are no corrections.
#include "LedgerDatabase.h"

#include "platform/report/ReportModel.h"
#include "platform/runtime/Regional.h"

#include <string>
#include <vector>

namespace arc {

std::vector<report::ReportSection> ChangesInPeriod(LedgerDatabase& db, double desde, double hasta,
                                                   const std::wstring& moment, const Regional& regional);

}  // namespace arc
