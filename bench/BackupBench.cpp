#include "BackupBench.h"

#include "LedgerGenerator.h"
#include "ScratchFolder.h"
#include "Stopwatch.h"

#include "ledger/Backup.h"
#include "ledger/BackupResult.h"
#include "ledger/LedgerCopy.h"
#include "ledger/LedgerDatabase.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"

#include <cstdio>
#include <vector>

namespace arc::bench {
namespace {

// The backup folder on the drive of the benchmark's scratch folder, removed
// afterwards when the benchmark made it.
class BackupFolder {
public:
    explicit BackupFolder(const std::wstring& scratch) : letter_(scratch.substr(0, 1)) {
        if (scratch.size() < 2 || scratch[1] != L':') throw RuntimeError(kErrPathNotFound, L"no drive letter");
        made_ = !FolderExists(PlacesFor(L"", letter_).folder);
    }
    ~BackupFolder() {
        const BackupPlaces p = PlacesFor(L"", letter_);
        RemoveDirectoryW(p.work.c_str());
        if (made_) RemoveDirectoryW(p.folder.c_str());
    }
    BackupFolder(const BackupFolder&) = delete;
    BackupFolder& operator=(const BackupFolder&) = delete;
    const std::wstring& Letter() const { return letter_; }

private:
    std::wstring letter_;
    bool made_ = false;
};

// Looking costs the batch little: one small file, every 20 ms.
constexpr DWORD kPollMs = 20;

void RemoveResults(const std::wstring& install) {
    for (std::wstring stamp; !(stamp = LatestResultStamp(install)).empty();)
        DeleteFileW((install + L"\\" + ResultFileName(stamp)).c_str());
}

// The test host, starting the batch for real and noting when it did.
struct BenchHost : test::TestHost {
    using TestHost::TestHost;
    bool StartHidden(const std::wstring& path) override {
        batchStart = Stopwatch();
        return TestHost::StartHidden(path);
    }
    Stopwatch batchStart;
};

}  // namespace

BackupTimes MeasureBackup(size_t rows, const std::wstring& parent, int runs) {
    BackupTimes r;
    r.rows = rows;
    ScratchFolder install(L"backup_install", parent);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (!CopyFileW((FolderOf(exe) + L"\\sqlite3.exe").c_str(), (install.Path() + L"\\sqlite3.exe").c_str(), FALSE))
        throw RuntimeError(kErrFileNotFound, L"sqlite3.exe is not beside the benchmark");
    BackupFolder mapped(install.Path());

    LedgerDatabase database(install.Path());
    database.CONEXION();
    GeneratedLedger ledger = GenerateLedger(database, rows, 20261207u);

    BenchHost host(install.Path());
    host.realClock = true;
    host.startForReal = true;
    const BackupPlaces places = PlacesFor(install.Path(), mapped.Letter());
    std::vector<double> program, total, batch, registering;
    r.complete = r.registered = true;
    for (int run = 0; run < runs; ++run) {
        std::fwprintf(stderr, L"  backup run %d\n", run + 1);
        RemoveResults(install.Path());
        const size_t expected = rows + static_cast<size_t>(run);
        Stopwatch watch;
        MakeBackup(host, mapped.Letter(), BackupWay::Batch);
        program.push_back(watch.ElapsedMs());
        // While the batch runs the program registers a movement, as the user may.
        const bool running = !host.started.empty() && FileExists(host.started.back());
        Stopwatch reg;
        try {
            database.CONEXION();
            database.InsertMovement(ledger.lastDay, L"DURANTE LA COPIA", 12.5, 0, ledger.lastDay);
            registering.push_back(reg.ElapsedMs());
        } catch (const RuntimeError&) {
            r.registered = false;
        }
        r.registered = r.registered && running;
        const std::wstring result = install.Path() + L"\\" + ResultFileName(LatestResultStamp(install.Path()));
        std::wstring line;
        while ((line = ReadFirstAnsiLine(result).value_or(L"")).rfind(L"EN_CURSO", 0) == 0 || line.empty()) {
            if (watch.ElapsedMs() > 120000) break;
            Sleep(kPollMs);
        }
        total.push_back(watch.ElapsedMs());
        batch.push_back(host.batchStart.ElapsedMs());
        // The copy holds the ledger as it was at the call.
        const std::wstring prefix = L"OK " + std::to_wstring(expected) + L" ";
        const bool ok = line.rfind(prefix, 0) == 0 &&
                        InspectLedgerCopy(line.substr(prefix.size())).rows == static_cast<long long>(expected);
        if (!ok) std::fwprintf(stderr, L"  backup run %d ended: %ls\n", run + 1, line.c_str());
        r.complete = r.complete && ok;
        while (!host.started.empty() && FileExists(host.started.back())) Sleep(kPollMs);
        if (ok) DeleteFileW(line.substr(prefix.size()).c_str());
    }
    r.programMs = Median(program);
    r.backupMs = Median(total);
    r.batchMs = Median(batch);
    r.registerMs = Median(registering);

    // The start-up's reading of the results: after a good backup (the usual
    // case) and after a failed one, whose notice the host answers.
    auto startup = [&](const std::wstring& line) {
        return MedianMs(
            runs * 4, [&] { TakeLastBackupNotice(host, mapped.Letter()); },
            [&] {
                RemoveResults(install.Path());
                ReplaceAnsiLines(install.Path() + L"\\" + ResultFileName(L"261207120000"), {line});
            });
    };
    r.startupOkMs = startup(OkLine(std::to_wstring(rows), places.folder + L"\\261207120000-BD.DB"));
    r.startupFailMs = startup(FailureLine(BackupFailure::NoDrive, places.folder));
    return r;
}

void PrintBackupTable(const BackupTimes& r, int runs) {
    std::printf("\nBackup on closing, %zu rows, medians of %d runs, times in ms\n", r.rows, runs);
    std::printf("  %-58s %10.1f\n", "program's part (snapshot, work files, batch started)", r.programMs);
    std::printf("  %-58s %10.1f  %s\n", "batch, from its start to the checked copy under its name", r.batchMs,
                r.complete ? "complete" : "INCOMPLETE");
    std::printf("  %-58s %10.1f\n", "both, from the call to the checked copy under its name", r.backupMs);
    std::printf("  %-58s %10.2f  %s\n", "registering a movement while the batch runs", r.registerMs,
                r.registered ? "succeeded" : "FAILED");
    std::printf("  %-58s %10.2f\n", "start-up reading the results, last backup good", r.startupOkMs);
    std::printf("  %-58s %10.2f\n", "start-up reading the results, last backup failed", r.startupFailMs);
    std::printf("Targets:\n");
    std::printf("  %-58s %10.1f  %s\n", "batch at 100,000 rows at most 3,000 ms", r.batchMs,
                r.rows == 100000 && r.batchMs <= 3000 && r.complete ? "met" : "NOT MET");
    const double startup = r.startupOkMs > r.startupFailMs ? r.startupOkMs : r.startupFailMs;
    std::printf("  %-58s %10.2f  %s\n", "start-up reading the results at most 100 ms", startup,
                startup <= 100 ? "met" : "NOT MET");
    std::printf("  %-58s %10s  %s\n", "a register during a running backup succeeds", "",
                r.registered ? "met" : "NOT MET");
    std::fflush(stdout);
}

}  // namespace arc::bench
