// BACKUP: a time-stamped copy of the database on the backup drive, made so
// that a copy under a stamped name is always complete and every failure is
// told at the next start.
//
// The program takes a snapshot of BD.db with SQLite's online backup API into
// the run's work folder (about a tenth of a second at 100,000 rows, on the
// program's own thread, so none of its writes can meet it), then starts a
// hidden batch and returns: the shell never opens the live file, and the
// program's writes while the batch runs never meet a busy database.  In
// the batch the SQLite shell dumps the snapshot as SQL text, builds a new
// database from the dump under a temporary name, checks it (the dump ended
// with its COMMIT, PRAGMA integrity_check says ok, FINANZAS holds as many
// rows as the dump inserted) and only then moves it to B\<stamp>-BD.DB,
// never over a file already there.  Every work file carries the run's stamp,
// so two runs never share one, and the stamp is reserved by the run's result
// file (BackupResult.h) before anything else is written.  The batch inherits
// a handle on the run's life file, so that the next start knows whether it
// still runs whatever the clock says.
#include "Backup.h"

#include "BackupResult.h"
#include "Form1.h"
#include "LedgerCopy.h"
#include "SqlText.h"

#include "platform/data/OnlineBackup.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/FolderFiles.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/TextFile.h"

#include <sqlite3.h>

#include <cwctype>
#include <vector>

namespace arc {
namespace {

const wchar_t kFolderSuffix[] = L":\\BACKUP_ARCANDORA";
// How long a copy of the ledger waits for a lock another program holds on
// it: the ledger's own time-out.
constexpr int kLockWaitMs = 1000;

struct Run {
    BackupPlaces places;
    std::wstring stamp;
    std::wstring result;  // install\RESPALDO-<stamp>.TXT
    std::wstring stem;    // work\RESPALDO-<stamp>: every work file is stem + an extension
    std::wstring target;  // folder\<stamp>-BD.DB
    std::wstring File(const wchar_t* extension) const { return stem + extension; }
};

Run RunAt(const BackupPlaces& places, const std::wstring& stamp) {
    return {places, stamp, places.install + L"\\" + ResultFileName(stamp), WorkStem(places.work, stamp),
            places.folder + L"\\" + stamp + L"-BD.DB"};
}

// The first stamp from the clock on whose backup name is free, whose work
// files are not there and whose result file this run creates: a second run in
// the same second, a clock set back onto an earlier copy or another program
// instance gets the next second.  The copy is named by the local time it was
// made at, whatever an earlier run was named (BackupResult.h orders results
// stamped while the clock was ahead).
std::optional<Run> Reserve(Host& host, const BackupPlaces& places) {
    const double from = ClockNow(host);
    for (int later = 0; later < kStampTries; ++later) {
        Run run = RunAt(places, StampAt(from, later, host.Regional()));
        if (FileExists(run.target) || FileExists(run.File(L".BAT"))) continue;
        if (CreateAnsiLines(run.result, {RunningLine(places.folder)})) return run;
    }
    return std::nullopt;
}

void Record(const Run& run, const std::wstring& line) { ReplaceAnsiLines(run.result, {line}); }

void Fail(const Run& run, BackupFailure failure) {
    RemoveWorkFiles(run.stem);
    Record(run, FailureLine(failure, run.places.folder));
}

bool IsOneLetter(const std::wstring& drive) { return drive.size() == 1 && std::iswalpha(drive[0]) && drive[0] < 128; }

// Creates the folders (existing ones are used as they are) and takes the
// snapshot; the failure when either cannot be done.
std::optional<BackupFailure> Prepare(const Run& run, bool needShell) {
    const BackupPlaces& p = run.places;
    CreateDirectoryW(p.folder.c_str(), nullptr);
    CreateDirectoryW(p.work.c_str(), nullptr);
    if (!FolderExists(p.work)) {
        if (!IsOneLetter(p.drive)) return BackupFailure::NoLetter;
        return FolderExists(p.drive + L":\\") ? BackupFailure::NoFolder : BackupFailure::NoDrive;
    }
    if (needShell && !FileExists(p.install + L"\\sqlite3.exe")) return BackupFailure::NoShell;
    // Whatever a run cut short under this stamp left is not this run's.
    RemoveWorkFiles(run.stem);
    try {
        data::CopyDatabase(p.install + L"\\BD.db", run.File(L".COPIA"), kLockWaitMs);
    } catch (const RuntimeError& e) {
        switch (e.Number()) {
            case SQLITE_FULL:
            case SQLITE_IOERR:
            case SQLITE_READONLY:
            case SQLITE_PERM:
                return BackupFailure::NoFolder;
            default:
                return BackupFailure::Unreadable;
        }
    }
    return std::nullopt;
}

// The run's life file, open for writing through a handle that the batch
// started while it is open inherits; deleting it is allowed (the batch
// deletes its work files as it ends).
class LifeFile {
public:
    explicit LifeFile(const std::wstring& path) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~LifeFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    LifeFile(const LifeFile&) = delete;
    LifeFile& operator=(const LifeFile&) = delete;
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
std::wstring SqlText(const std::wstring& text) { return L"'" + SqlQuoted(text) + L"'"; }

const wchar_t kCrlf[] = L"char(13, 10)";

// The dump's text, read by the shell.
std::wstring DumpText(const Run& run) { return L"CAST(readfile(" + SqlText(run.File(L".BACKUP")) + L") AS TEXT)"; }

// Run before the new database is built: the run's failure as the dump's
// last line tells it, "ROLLBACK; -- due to errors" when the shell could not
// read the whole ledger, anything but its COMMIT when the dump was cut short
// (a full or removed drive).  It stays the result unless the checks pass.
std::vector<std::wstring> DumpEndScript(const Run& run) {
    const std::wstring folder = run.places.folder;
    return {
        L"SELECT writefile(" + SqlText(run.File(L".RES")) + L", CASE WHEN final LIKE '%ROLLBACK; -- due to errors' " +
            L"THEN " + SqlText(FailureLine(BackupFailure::Unreadable, folder)) + L" ELSE " +
            SqlText(FailureLine(BackupFailure::Incomplete, folder)) + L" END || " + kCrlf + L")",
        L"FROM (SELECT rtrim(substr(" + DumpText(run) + L", -40), " + kCrlf + L") AS final);",
    };
}

// Run once the new database is built: only when the dump ended with its
// COMMIT, PRAGMA integrity_check says ok and FINANZAS holds as many rows as
// the dump inserted does it write the OK line and the OK marker.  The dump
// writes each row as one line (line ends inside texts are written as
// escapes), so its INSERT lines count the rows it inserted.  When the dump
// built no FINANZAS the statement cannot even be prepared, and nothing is
// written.
std::vector<std::wstring> CheckScript(const Run& run) {
    // The OK line as the next start reads it, with the shell's count of rows
    // in the place of the hole.
    const std::wstring ok = OkLine(L"\x01", run.target);
    const size_t hole = ok.find(L'\x01');
    return {
        L"SELECT writefile(" + SqlText(run.File(L".RES")) + L", " + SqlText(ok.substr(0, hole)) + L" || filas || " +
            SqlText(ok.substr(hole + 1)) + L" || " + kCrlf + L"), writefile(" + SqlText(run.File(L".OK")) + L", 'ok')",
        L"FROM (SELECT (SELECT count(*) FROM FINANZAS) AS filas,",
        L"             (length(texto) - length(replace(texto, fila, ''))) / length(fila) AS insertadas,",
        L"             rtrim(substr(texto, -40), " + std::wstring(kCrlf) + L") AS final,",
        L"             (SELECT group_concat(integrity_check, ' ') FROM pragma_integrity_check) AS integridad",
        L"      FROM (SELECT " + DumpText(run) + L" AS texto, char(10) || 'INSERT INTO FINANZAS VALUES(' AS fila))",
        L"WHERE final LIKE '%' || char(10) || 'COMMIT;' AND integridad = 'ok' AND filas = insertadas;",
    };
}

// The batch.  The dump is taken of the snapshot; one shell then checks how
// the dump ended, builds the new database from it under its temporary name
// and checks that (the shell stops at the first failing statement of the
// dump, leaving the first verdict).  The move happens only when the checks
// left their marker and the stamped name is still free; a checked copy that
// could not be moved reports NOMBRE.  The result goes to the install
// folder, then every work file of the run, the batch included, is deleted.
// The dump reads the snapshot through a memory map and the new database is
// built in a page cache that holds it whole: under Wine each read or spilled
// page is a call of its own, and the two settings take a third off the time.
std::vector<std::wstring> BatchLines(const Run& run) {
    const std::wstring shell = Quoted(run.places.install + L"\\sqlite3.exe");
    auto f = [&](const wchar_t* extension) { return Quoted(run.File(extension)); };
    // Single quotes: the shell reads backslashes in them as they are.
    auto dot = [&](const wchar_t* command, const wchar_t* extension) {
        return L"\"." + std::wstring(command) + L" '" + run.File(extension) + L"'\"";
    };
    return {
        L"@echo off",
        shell + L" " + f(L".COPIA") + L" \"PRAGMA mmap_size=268435456\" " + dot(L"output", L".BACKUP") +
            L" .dump > nul",
        shell + L" " + f(L".NUEVA") + L" \"PRAGMA cache_size=-65536\" " + dot(L"read", L".FINAL") + L" " +
            dot(L"read", L".BACKUP") + L" " + dot(L"read", L".SQL") + L" > nul",
        L"if exist " + f(L".OK") + L" if not exist " + Quoted(run.target) + L" move " + f(L".NUEVA") + L" " +
            Quoted(run.target) + L" > nul",
        L"if exist " + f(L".OK") + L" if exist " + f(L".NUEVA") + L" copy /y " + f(L".NOMBRE") + L" " + f(L".RES") +
            L" > nul",
        L"copy /y " + f(L".RES") + L" " + Quoted(run.result) + L" > nul",
        L"del /q " + Quoted(run.stem + L".*"),
    };
}

}  // namespace

std::optional<std::wstring> MakeBackup(Host& host, const std::wstring& drive, BackupWay way) {
    const bool inProcess = way == BackupWay::BeforeSessionEnds;
    if (drive.empty()) return std::nullopt;  // no drive configured (a first installation): nothing to copy, nothing to tell
    const std::wstring install = host.InstallFolder();
    auto reserved = Reserve(host, PlacesFor(install, drive));
    // Without a result file the next start could tell nothing: say it now.
    if (!reserved)
        return L"No se pudo hacer la copia de seguridad: no se pudo escribir en " + install +
               L".\r\n\r\nCompruebe que la carpeta existe y que se puede escribir en ella.";
    const Run& run = *reserved;
    auto fail = [&run](BackupFailure failure) {
        Fail(run, failure);
        return std::nullopt;
    };
    if (auto failure = Prepare(run, !inProcess)) return fail(*failure);

    if (inProcess) {
        LedgerCopy copy = InspectLedgerCopy(run.File(L".COPIA"));
        if (copy.verdict != LedgerCopy::Verdict::Ok) return fail(BackupFailure::Unreadable);
        if (!MoveFileW(run.File(L".COPIA").c_str(), run.target.c_str())) return fail(BackupFailure::NameTaken);
        RemoveWorkFiles(run.stem);
        Record(run, OkLine(std::to_wstring(copy.rows), run.target));
        return std::nullopt;
    }

    const std::wstring folder = run.places.folder;
    // The result stays "incomplete" unless the checks run and say otherwise.
    // The scripts are in the ANSI code page, in which the shell's readfile()
    // and writefile() open their files; the batch in the OEM code page, in
    // which the command interpreter reads it.
    if (!WriteAnsiLines(run.File(L".RES"), {FailureLine(BackupFailure::Incomplete, folder)}) ||
        !WriteAnsiLines(run.File(L".NOMBRE"), {FailureLine(BackupFailure::NameTaken, folder)}) ||
        !WriteAnsiLines(run.File(L".FINAL"), DumpEndScript(run)) || !WriteAnsiLines(run.File(L".SQL"), CheckScript(run)))
        return fail(BackupFailure::NoFolder);
    // The life file comes before the batch file: a batch file without one is
    // an earlier version's.  The program's own handle closes on return (or
    // with the program), leaving the batch's.
    const LifeFile life(run.File(kLifeExtension));
    if (!life || !WriteOemLines(run.File(L".BAT"), BatchLines(run))) return fail(BackupFailure::NoFolder);
    if (!host.StartHidden(run.File(L".BAT"))) return fail(BackupFailure::NotStarted);
    return std::nullopt;
}

BackupPlaces PlacesFor(const std::wstring& install, const std::wstring& drive) {
    const std::wstring folder = drive + kFolderSuffix;
    return {drive, install, folder, folder + L"\\ARCH_TMP"};
}

std::wstring DriveOf(const std::wstring& backupFolder) {
    const std::wstring suffix = kFolderSuffix;
    if (backupFolder.size() >= suffix.size() &&
        backupFolder.compare(backupFolder.size() - suffix.size(), suffix.size(), suffix) == 0)
        return backupFolder.substr(0, backupFolder.size() - suffix.size());
    return backupFolder;
}

std::wstring WorkStem(const std::wstring& work, const std::wstring& stamp) { return work + L"\\RESPALDO-" + stamp; }

void RemoveWorkFiles(const std::wstring& stem) {
    const size_t slash = stem.find_last_of(L'\\');
    const std::wstring folder = stem.substr(0, slash);
    for (const auto& name : FileNamesIn(folder, stem.substr(slash + 1) + L".*"))
        DeleteFileW((folder + L"\\" + name).c_str());
}

double ClockNow(Host& host) {
    const SYSTEMTIME t = host.Now();
    return DateSerial(t.wYear, t.wMonth, t.wDay) + TimeSerial(t.wHour, t.wMinute, t.wSecond);
}

std::wstring StampAt(double when, int secondsLater, const Regional& regional) {
    // Two-digit year, month, day, 24-hour hour, minute, second: the "MM"
    // after "HH" is the minute.
    return FormatDate(when + TimeSerial(0, 0, secondsLater), L"YYMMDDHHMMSS", regional);
}

std::optional<double> StampValue(const std::wstring& stamp) {
    if (stamp.size() != 12) return std::nullopt;
    int n[6];
    for (int i = 0; i < 6; ++i) {
        if (!std::iswdigit(stamp[2 * i]) || !std::iswdigit(stamp[2 * i + 1])) return std::nullopt;
        n[i] = (stamp[2 * i] - L'0') * 10 + (stamp[2 * i + 1] - L'0');
    }
    if (!IsValidDate(2000 + n[0], n[1], n[2])) return std::nullopt;
    return DateSerial(2000 + n[0], n[1], n[2]) + TimeSerial(n[3], n[4], n[5]);
}

std::optional<std::wstring> SaveCopyUnderFreeStamp(Host& host, const std::wstring& database,
                                                   const std::wstring& folder, const std::wstring& suffix) {
    wchar_t fresh[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"arc", 0, fresh)) return std::nullopt;
    try {
        data::CopyDatabase(database, fresh, kLockWaitMs);
        const double now = ClockNow(host);
        for (int later = 0; later < kStampTries; ++later) {
            const std::wstring name = folder + L"\\" + StampAt(now, later, host.Regional()) + suffix;
            // MoveFile never replaces: a name already taken is skipped.
            if (MoveFileW(fresh, name.c_str())) return name;
            if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
        }
    } catch (const RuntimeError&) {
    }
    DeleteFileW(fresh);
    return std::nullopt;
}

void Form1::ConnectBackup() {
    OnMessage(WM_CLOSE, [this] {
        // The close always runs the backup and is never cancelled.
        if (!sessionEnded_) BACKUP();
        DestroyWindow(Hwnd());
    });
    // The session's end stops every program of it, a batch started now
    // included: the copy is made and checked before returning.
    OnMessage(WM_ENDSESSION, [this](WPARAM ending, LPARAM) -> Reply {
        if (ending && !sessionEnded_) RunBackup(true);
        sessionEnded_ = sessionEnded_ || ending != 0;
        return 0;
    });
}

void Form1::BACKUP() { RunBackup(false); }

void Form1::RunBackup(bool sessionEnds) {
    // The close goes ahead whatever happens here: every outcome is recorded
    // for the next start.  Only one that cannot be recorded is shown now,
    // unless the session is ending (nobody would see it).
    std::optional<std::wstring> notice;
    {
        Hourglass wait(*this);
        try {
            notice = MakeBackup(host_, Text(Id::Text4), sessionEnds ? BackupWay::BeforeSessionEnds : BackupWay::Batch);
        } catch (...) {
        }
    }
    if (sessionEnds) return;
    if (notice) host_.ShowMessage(Hwnd(), *notice, MB_OK);
    TellNoBackupDrive();
}

void Form1::NotifyLastBackup() {
    if (auto notice = TakeLastBackupNotice(host_, Text(Id::Text4))) host_.ShowMessage(Hwnd(), *notice, MB_OK);
    TellNoBackupDrive();
    ShowLastCheckedBackup();
}

void Form1::TellNoBackupDrive() {
    if (noDriveTold_ || !Text(Id::Text4).empty()) return;
    noDriveTold_ = true;
    host_.ShowMessage(Hwnd(),
                      L"No hay ninguna unidad para las copias de seguridad, así que al cerrar Arcandora no se hará "
                      L"ninguna copia del libro.\r\n\r\nEscriba la letra de una unidad (por ejemplo, D) en «Unidad de "
                      L"Backup», bajo «Configurar», y pulse «Guardar».",
                      MB_OK);
}

}  // namespace arc
