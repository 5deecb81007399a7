#include "SummaryBench.h"

#include "LedgerGenerator.h"
#include "ScratchFolder.h"
#include "Stopwatch.h"

#include "ledger/MonthlySummaryReport.h"
#include "support/TestHost.h"

#include <cmath>
#include <cstdio>

namespace arc::bench {

SummaryTimes MeasureSummary(size_t rows, const std::wstring& parent, int runs) {
    SummaryTimes r;
    r.rows = rows;
    ScratchFolder folder(L"summary_" + std::to_wstring(rows), parent);
    LedgerDatabase database(folder.Path());
    database.CONEXION();
    std::fprintf(stderr, "  %zu rows: generating for the monthly summary\n", rows);
    GeneratedLedger ledger = GenerateLedger(database, rows, 20261208u + static_cast<unsigned>(rows));

    MonthlySummary summary;
    r.readMs = MedianMs(runs, [&] {
        database.CONEXION();
        summary = ReadMonthlySummary(database, ledger.yearFrom, ledger.yearTo);
    });
    r.periods = summary.periods.size();
    // Every movement is dated by the ledger's last day, the year's end.
    r.fundExact = !summary.periods.empty() && !ledger.balances.empty() &&
                  std::fabs(summary.periods.back().fund - ledger.balances.back()) < 0.005;

    test::TestHost host(folder.Path(), L"es-ES");
    HWND owner = CreateWindowExW(0, L"STATIC", L"Form1", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        report::PreviewOptions options;
        Stopwatch watch;
        options.onShown = [&](report::PreviewWindow& preview) {
            times.push_back(watch.ElapsedMs());
            preview.Close();
        };
        RunMonthlySummary(owner, host, database, ledger.yearFrom, ledger.yearTo, L"Asociación de prueba", options);
    }
    DestroyWindow(owner);
    r.previewMs = Median(times);
    return r;
}

void PrintSummaryLine(const SummaryTimes& r, int runs) {
    std::printf("\nMonthly summary of the last year at %zu rows (%zu months), medians of %d runs: figures read in "
                "%.1f ms, preview shown after %.1f ms (target under 500 ms: %s); fund at the year's end %s the "
                "ledger's balance\n",
                r.rows, r.periods, runs, r.readMs, r.previewMs, r.previewMs < 500 ? "met" : "NOT MET",
                r.fundExact ? "equals" : "DIFFERS FROM");
    std::fflush(stdout);
}

}  // namespace arc::bench
