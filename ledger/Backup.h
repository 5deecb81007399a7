#pragma once
// BACKUP and what it shares with the restore: where the copies go, the time
// stamp of their names, and copies of the ledger made with SQLite's online
// backup API under a name no other file has.
#include "platform/runtime/Host.h"

#include <optional>
#include <string>

namespace arc {

struct BackupPlaces {
    std::wstring drive;    // the drive text as typed, unchanged
    std::wstring install;  // holds sqlite3.exe, BD.db and the backups' results
    std::wstring folder;   // drive + ":\BACKUP_ARCANDORA"
    std::wstring work;     // folder + "\ARCH_TMP"
};

BackupPlaces PlacesFor(const std::wstring& install, const std::wstring& drive);
// The drive text back from a backup folder built by PlacesFor.
std::wstring DriveOf(const std::wstring& backupFolder);
// The common start of a run's work files: work + "\RESPALDO-" + stamp.
std::wstring WorkStem(const std::wstring& work, const std::wstring& stamp);
// Removes every work file of the run with that stem.
void RemoveWorkFiles(const std::wstring& stem);
// The extension of a run's life file: the batch inherits a handle open on
// it and holds it for as long as it runs, so a batch that was killed (or
// never started) leaves it held by nobody.
constexpr wchar_t kLifeExtension[] = L".ACTIVA";
// How far past the clock, in seconds, a stamp may move to find a free name.
constexpr int kStampTries = 100;
// The host's clock to the second, as a date value.
double ClockNow(Host& host);
// "YYMMDDHHMMSS" of a date value, some seconds on.
std::wstring StampAt(double when, int secondsLater, const Regional& regional);
// The date value of a stamp; nullopt when the text is none.
std::optional<double> StampValue(const std::wstring& stamp);

enum class BackupWay {
    // Returns without waiting: a snapshot of BD.db taken with the online
    // backup API, then a hidden batch in which the SQLite shell dumps the
    // snapshot, builds a new database from the dump, checks it and only then
    // gives it its stamped name.
    Batch,
    // When the session ends, which stops every program of it (a batch
    // started then included): the snapshot itself is checked and given its
    // stamped name before returning.
    BeforeSessionEnds,
};

// Makes a backup of the ledger to the drive.  Every outcome is recorded for
// the next start (BackupResult.h); an empty drive text makes no backup and
// records nothing.  When no outcome can be recorded (the install folder
// cannot be written), no backup is made and the notice to show now is
// returned instead.
std::optional<std::wstring> MakeBackup(Host& host, const std::wstring& drive, BackupWay way);

// Copies the database file into the folder as <stamp><suffix> with the
// online backup API, the copy built under a temporary name and renamed to
// the first stamp from now on whose name is free.  Returns the new file, or
// nullopt (nothing left behind) when it cannot be made.
std::optional<std::wstring> SaveCopyUnderFreeStamp(Host& host, const std::wstring& database,
                                                   const std::wstring& folder, const std::wstring& suffix);

}  // namespace arc
