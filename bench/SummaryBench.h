#pragma once
// The monthly summary of a generated ledger's last full year, as
// "Resumen mensual" opens it: from the call until its preview is on screen,
// and the reading of its figures alone.
#include <cstddef>
#include <string>

namespace arc::bench {

struct SummaryTimes {
    size_t rows = 0;
    size_t periods = 0;
    double readMs = 0;     // CONEXION and the two aggregate queries
    double previewMs = 0;  // RunMonthlySummary until its preview is shown
    bool fundExact = false;  // the fund at the year's end is the ledger's balance at that day
};

// Builds a ledger of the given size in its own folder inside parent,
// measures it and removes it.
SummaryTimes MeasureSummary(size_t rows, const std::wstring& parent, int runs);

// One line of its own after the ledger's table, with its target.
void PrintSummaryLine(const SummaryTimes& r, int runs);

}  // namespace arc::bench
