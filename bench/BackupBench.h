#pragma once
// The backup on a generated ledger, as closing the window makes it: the
// batch from its start to the checked copy under its stamped name (and the
// program's part before it, the snapshot, timed apart), a movement
// registered while the batch runs, and the start-up's reading of the
// backups' results.
#include "platform/runtime/Regional.h"

#include <cstddef>
#include <string>

namespace arc::bench {

struct BackupTimes {
    size_t rows = 0;
    double programMs = 0;     // MakeBackup: snapshot, work files, batch started
    double batchMs = 0;       // the batch, from its start until the checked copy has its name and the result says OK
    double backupMs = 0;      // the same from the call of MakeBackup
    bool complete = false;    // every run ended OK with a copy of all rows
    double registerMs = 0;    // a movement registered while the batch ran
    bool registered = false;  // ... and it succeeded every time, the batch still running
    double startupOkMs = 0;   // reading the results at start-up after a good backup
    double startupFailMs = 0; // ... after a failed one, notice included
};

// Needs sqlite3.exe beside the benchmark; the copies go to the backup folder
// on the drive of the scratch folder and are removed after each run.  Raises
// RuntimeError when it cannot set that up.
BackupTimes MeasureBackup(size_t rows, const std::wstring& parent, int runs);

void PrintBackupTable(const BackupTimes& r, int runs);

}  // namespace arc::bench
