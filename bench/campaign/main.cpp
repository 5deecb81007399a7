// arcandora_campaign: the driver of the fault campaign (scripts/campaign),
// built with the project like the benchmark and never run by ctest.
//   arcandora_campaign.exe --preparar <install folder> <rows>
//       a ledger of that many generated rows in <install folder>\BD.db
//   arcandora_campaign.exe <install folder> <journal> <seed> <run>
//       starts the program as Arcandora.exe does (the set-aside guard, the
//       backup notices, the history), with the settings files of the
//       install folder, then runs operations through the window until the
//       process is killed, writing each to the journal.
#include "Driver.h"
#include "Journal.h"

#include "bench/LedgerGenerator.h"
#include "ledger/LedgerDatabase.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {

int Prepare(const std::wstring& install, size_t rows) {
    arc::LedgerDatabase database(install);
    database.CONEXION();
    arc::bench::GenerateLedger(database, rows, 20261208u);
    return 0;
}

int Run(const std::wstring& install, const std::wstring& journalPath, unsigned seed, const std::wstring& run) {
    using namespace arc;
    campaign::Journal journal(journalPath);
    if (!journal) return 2;
    journal.Write(L"INICIO " + std::to_wstring(GetCurrentProcessId()));
    campaign::UnattendedHost host(install, journal);
    Form1 form(host, Form1::Options{false});
    try {
        form.Load();
    } catch (const RuntimeError& e) {
        journal.Write(L"FALLO_INICIO " + std::to_wstring(e.Number()) + L" " + e.Description());
        return 1;
    }
    form.Show(SW_SHOWNOACTIVATE);
    PumpPendingMessages();
    journal.Write(L"LISTO");
    campaign::Driver driver(form, host, journal, seed, run);
    for (;;) driver.Step();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    try {
        if (argc == 4 && std::wcscmp(argv[1], L"--preparar") == 0) return Prepare(argv[2], std::wcstoul(argv[3], nullptr, 10));
        if (argc == 5) return Run(argv[1], argv[2], static_cast<unsigned>(std::wcstoul(argv[3], nullptr, 10)), argv[4]);
    } catch (const arc::RuntimeError& e) {
        std::fprintf(stderr, "arcandora_campaign: error %ld: %s\n", static_cast<long>(e.Number()),
                     arc::ToUtf8(e.Description()).c_str());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: arcandora_campaign --preparar <install folder> <rows>\n"
                 "       arcandora_campaign <install folder> <journal> <seed> <run>\n");
    return 2;
}
