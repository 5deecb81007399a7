// arcandora_bench: times the ledger's heavy operations on generated ledgers
// of 1,000 to 1,000,000 rows and prints one table, then the backup on closing
// at 100,000 rows, and the monthly summary on the largest ledger.  Run under Wine:
//   build/win64/wine-run build/win64/bin/arcandora_bench.exe [rows ...]
// (build/win32/... for the 32-bit build, where the machine runs it)
// With row counts as arguments only those sizes are measured.
#include "BackupBench.h"
#include "ImportBench.h"
#include "LedgerBench.h"
#include "ResultTable.h"
#include "ScratchFolder.h"
#include "SummaryBench.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Regional.h"
#include "platform/runtime/Text.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    using namespace arc;
    std::vector<size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        wchar_t* end = nullptr;
        unsigned long long n = std::wcstoull(argv[i], &end, 10);
        if (!end || *end || n == 0) {
            std::fprintf(stderr, "usage: arcandora_bench [rows ...]  (default 1000 20000 100000 1000000)\n");
            return 2;
        }
        sizes.push_back(static_cast<size_t>(n));
    }
    if (sizes.empty()) sizes = {1000, 20000, 100000, 1000000};

    try {
        bench::BenchOptions options;
        Regional regional = SystemRegional();
        bench::ScratchFolder folder(L"arcandora_bench");
        std::fprintf(stderr, "working in %s\n", ToUtf8(folder.Path()).c_str());
        bench::PrintHeader(options.runs, options.slowRuns);
        std::vector<bench::SizeResult> results;
        for (size_t rows : sizes) {
            results.push_back(bench::MeasureLedger(rows, folder.Path(), regional, options));
            bench::PrintRow(results.back());
        }
        // The backup on closing and the statement import, at 100,000 rows
        // (or the largest size asked below that).
        size_t backupRows = 0;
        for (size_t rows : sizes)
            if (rows <= 100000 && rows > backupRows) backupRows = rows;
        std::optional<bench::ImportTimes> import;
        if (backupRows) import = bench::MeasureImport(backupRows, 10000, folder.Path(), options.slowRuns);
        bench::PrintSummary(results, import);
        // The monthly summary on the largest ledger asked.
        size_t largest = *std::max_element(sizes.begin(), sizes.end());
        bench::PrintSummaryLine(bench::MeasureSummary(largest, folder.Path(), options.slowRuns), options.slowRuns);
        if (backupRows) {
            std::fprintf(stderr, "backup, %zu rows\n", backupRows);
            bench::PrintBackupTable(bench::MeasureBackup(backupRows, folder.Path(), options.slowRuns),
                                    options.slowRuns);
        }
        return 0;
    } catch (const RuntimeError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "arcandora_bench: error %ld: %s\n", static_cast<long>(e.Number()),
                     ToUtf8(e.Description()).c_str());
        return 1;
    }
}
