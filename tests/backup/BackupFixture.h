#pragma once
// What the backup and configuration panel suites share: the drive letter
// that the suite's script maps to a temporary folder, a host whose waiting
// moves its fixed clock on instead of sleeping, and a Form1 created the way
// the program creates it, driven with messages.
#include "ledger/Form1.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"
#include "support/WindowActions.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace arc::test {

// A host for the in-process cases: waiting costs no time but moves the clock,
// and every batch "started" is read at once, as it stood at its start.
class FastHost : public TestHost {
public:
    using TestHost::TestHost;

    void Wait(DWORD milliseconds) override;
    bool StartHidden(const std::wstring& path) override;

    std::function<void()> onWait;             // runs after each wait
    bool finishBatches = false;               // a started batch is deleted at once, as if it had run
    std::vector<std::string> batches;         // the bytes of each started batch
    std::vector<std::string> settingsAtStart; // unidad.inf + "|" + entidad.inf when each batch started
};

// Moves a local time on by some milliseconds.
SYSTEMTIME AddMilliseconds(const SYSTEMTIME& t, long long ms);

// Names of the entries of a folder matching a pattern ("*-BD.DB"), sorted.
std::vector<std::wstring> FilesIn(const std::wstring& folder, const std::wstring& pattern = L"*");

// The cases run on a drive of their own: "Q:" is a fresh folder per run of
// the suite, holding ARCANDORA (the install folder with sqlite3.exe) and the
// backup folder the cases write into.  Without the drive they are skipped.
class DriveTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A Form1 on the host, loaded and shown, its window kept open by the test.
    std::unique_ptr<Form1> OpenForm(Host& host);
    // The batch of the run with that stamp, and the line its result file holds.
    std::wstring BatchFor(const std::wstring& stamp) const;
    std::string ResultOf(const std::wstring& stamp) const;

    std::wstring drive;          // "Q"
    std::wstring install;        // Q:\ARCANDORA
    std::wstring program;        // Q:\PROG, where the settings files go
    std::wstring backupFolder;   // Q:\BACKUP_ARCANDORA
    std::wstring workFolder;     // Q:\BACKUP_ARCANDORA\ARCH_TMP
    std::wstring batchPath;      // the batch of the first run at the host's clock
    FastHost host{L""};
};

// Every row of FINANZAS in ID order, fields joined by "|", read through a
// read-only connection ("" for a file that cannot be read).
std::vector<std::wstring> RowsOf(const std::wstring& database);
// Adds movements to folder\BD.db directly, as many as asked, keyed in on the day.
void AddRows(const std::wstring& folder, int count, const std::wstring& day = L"2026-12-06");

using Id = Form1::Id;

// WM_CLOSE, as the title bar's X sends it.
void CloseWindow(Form1& form);

}  // namespace arc::test
