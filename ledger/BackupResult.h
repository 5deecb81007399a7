#pragma once
// What each backup leaves for the program's next start: a file of its own in
// the install folder, RESPALDO-<stamp>.TXT, holding one line:
//   EN_CURSO <backup folder>            the batch was started and has not reported
//   OK <rows> <backup file>             the copy was checked and has its name
//   FALLO <code> <backup folder>        no copy was made, and why
//   AVISADO <code> <backup folder>      such a failure, once the user was told
//   VISTO <rows> <backup file>          such a copy, once a start has read it
// The batch writes its own outcome; the program writes the line when it
// starts the batch and whenever it finds a failure itself.  Every line is
// written whole with its CR LF; a file without one whole line (empty, cut
// short by a crash while it was written, unreadable) is a run whose outcome
// is not known.
#include "platform/runtime/Host.h"

#include <optional>
#include <string>

namespace arc {

// Why a backup could not be made.
enum class BackupFailure {
    NoShell,     // SQLITE: sqlite3.exe is not in the install folder
    NoLetter,    // LETRA: the drive text is not one letter
    NoDrive,     // UNIDAD: the drive does not exist
    NoFolder,    // CARPETA: the backup folder cannot be created or written
    Unreadable,  // LECTURA: the ledger could not be read whole
    Incomplete,  // INCOMPLETA: the new database failed its checks
    NameTaken,   // NOMBRE: the checked copy could not take its name
    NotStarted,  // ARRANQUE: the batch could not be started
    Cut,         // CORTADA: the batch ended before reporting (killed, switched off)
    Unknown,     // DESCONOCIDO: its result file holds no whole line
};

std::wstring ResultFileName(const std::wstring& stamp);
std::wstring RunningLine(const std::wstring& backupFolder);
std::wstring OkLine(const std::wstring& rows, const std::wstring& backupFile);
std::wstring FailureLine(BackupFailure failure, const std::wstring& backupFolder);

// The greatest stamp among the result files in the install folder, or "".
std::wstring LatestResultStamp(const std::wstring& install);

// A batch runs for as long as its life file (Backup.h) is held open.  A
// batch started without one (by an earlier version) still there this many
// minutes after its stamp was taken has been cut short, unless the SQLite
// shell still holds one of its files open.
constexpr double kRunningBatchMinutes = 10;

// Reads the results of the backups since the last start, in the order the
// runs were made, which their stamps do not always give (the clock may have
// been put back since).  When the latest one failed, or its outcome is not
// known, and the user has not been told yet, returns the notice to show and
// marks it as told; a run that is still going says nothing until a later
// start.  Older finished results are removed, so the folder holds at most
// the latest one and the last checked copy's, both marked as read, and those
// still running; the work files of finished runs go.  The drive text says
// where the copies of a run whose outcome is not known would be.
std::optional<std::wstring> TakeLastBackupNotice(Host& host, const std::wstring& drive);

// When the last copy that was checked and given its name was made (its
// stamp's local time), as far as the result files tell; nothing is changed.
std::optional<double> LastCheckedBackup(Host& host);
// "06/12/2026 a las 14:30": when a backup was made, in the regional short date.
std::wstring BackupTimeText(double when, const Regional& regional);

}  // namespace arc
