#include "BackupResult.h"

#include "Backup.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/FolderFiles.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace arc {
namespace {

const wchar_t kRunning[] = L"EN_CURSO";
const wchar_t kOk[] = L"OK";
const wchar_t kFailed[] = L"FALLO";
const wchar_t kTold[] = L"AVISADO";
const wchar_t kSeen[] = L"VISTO";
// Not a line of the file: the file holds no whole line.
const wchar_t kUnknown[] = L"?";

const wchar_t* Code(BackupFailure failure) {
    switch (failure) {
        case BackupFailure::NoShell: return L"SQLITE";
        case BackupFailure::NoLetter: return L"LETRA";
        case BackupFailure::NoDrive: return L"UNIDAD";
        case BackupFailure::NoFolder: return L"CARPETA";
        case BackupFailure::Unreadable: return L"LECTURA";
        case BackupFailure::Incomplete: return L"INCOMPLETA";
        case BackupFailure::NameTaken: return L"NOMBRE";
        case BackupFailure::NotStarted: return L"ARRANQUE";
        case BackupFailure::Cut: return L"CORTADA";
        case BackupFailure::Unknown: return L"DESCONOCIDO";
    }
    return L"";
}

// One result: the word that says how the run stands, the second word (rows
// or failure code) and the rest of the line (a folder or a file, which may
// hold blanks).
struct Result {
    std::wstring stamp, file;
    std::wstring state, word, rest;
};

// Whether another program has the file open for writing: the SQLite shell
// holds the snapshot while it dumps it and writes the dump, then the new
// database while it loads; a batch holds its life file; a result file is
// held while it is written.  Readers are shared with, so the look never
// stops the shell from reading a file.
bool HeldOpen(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The file's line when it holds exactly one whole line, ended by CR LF.
std::optional<std::wstring> WholeLine(const std::wstring& path) {
    const FileBytes f = ReadFileBytes(path, 4096);
    if (f.status != FileBytes::Status::Ok) return std::nullopt;
    const size_t end = f.bytes.find("\r\n");
    if (end == std::string::npos || end + 2 != f.bytes.size()) return std::nullopt;
    return FromAnsi(std::string_view(f.bytes).substr(0, end));
}

bool Parse(const std::wstring& line, Result& r) {
    size_t a = line.find(L' ');
    if (a == std::wstring::npos) return false;
    r.state = line.substr(0, a);
    if (r.state == kRunning) {
        r.rest = line.substr(a + 1);
        return true;
    }
    size_t b = line.find(L' ', a + 1);
    if (b == std::wstring::npos) return false;
    r.word = line.substr(a + 1, b - a - 1);
    r.rest = line.substr(b + 1);
    return r.state == kOk || r.state == kFailed || r.state == kTold || r.state == kSeen;
}

// The result of the file; nullopt while another program is writing it (it
// is left for a later start).  Looked at twice, so that a writer that closed
// the file between the first reading and the look at it is read whole.
std::optional<Result> ReadResult(const std::wstring& install, const std::wstring& name) {
    Result r;
    r.stamp = name.substr(9, 12);  // RESPALDO-<stamp>.TXT
    r.file = install + L"\\" + name;
    for (int look = 0; look < 2; ++look) {
        const auto line = WholeLine(r.file);
        if (line && Parse(*line, r)) return r;
        if (HeldOpen(r.file)) return std::nullopt;
    }
    r = Result{r.stamp, r.file, kUnknown, L"", L""};
    return r;
}

// The names of the result files, in the order of their stamps.
std::vector<std::wstring> ResultNames(const std::wstring& install) {
    std::vector<std::wstring> names;
    for (auto& name : FileNamesIn(install, L"RESPALDO-????????????.TXT"))
        if (name.size() == 25 &&
            std::all_of(name.begin() + 9, name.begin() + 21, [](wchar_t c) { return std::iswdigit(c) != 0; }))
            names.push_back(std::move(name));
    return names;
}

// Where a result stands in the order the runs were made.  A result that an
// earlier start has read (the latest of its time, kept) comes before every
// run made since, whatever their stamps.  Those come in the order of their
// stamps, the clock's time, except that runs stamped while the clock was
// ahead of where it is now (set wrong, or before the autumn's hour went
// back; past it by more than a stamp moves on to find a free name) come
// before the ones made after it was put back.
int Rank(const Result& r, double now) {
    if (r.state == kTold || r.state == kSeen) return 0;
    const auto at = StampValue(r.stamp);
    return at && *at > now + TimeSerial(0, 0, kStampTries) ? 1 : 2;
}

std::vector<Result> ResultsIn(Host& host) {
    const std::wstring install = host.InstallFolder();
    std::vector<Result> results;
    for (const auto& name : ResultNames(install))
        if (auto r = ReadResult(install, name)) results.push_back(*r);
    const double now = ClockNow(host);
    std::stable_sort(results.begin(), results.end(),
                     [now](const Result& a, const Result& b) { return Rank(a, now) < Rank(b, now); });
    return results;
}

// Whether the batch of a run still goes: it holds its life file open for as
// long as it runs.  A batch of an earlier version, which has none, is taken
// to go for some minutes after its stamp, and after them for as long as the
// SQLite shell holds one of its files.
bool StillGoing(Host& host, const std::wstring& stem, const std::wstring& stamp) {
    if (!FileExists(stem + L".BAT")) return false;
    if (FileExists(stem + kLifeExtension)) return HeldOpen(stem + kLifeExtension);
    auto started = StampValue(stamp);
    const double minutes = started ? (FromSystemTime(host.Now()) - *started) * 24 * 60 : 0;
    return minutes <= kRunningBatchMinutes || HeldOpen(stem + L".COPIA") || HeldOpen(stem + L".BACKUP") ||
           HeldOpen(stem + L".NUEVA");
}

// A batch that has gone without reporting was cut short: its result says so
// and its work files go.
void JudgeRunning(Host& host, Result& r) {
    const std::wstring stem = WorkStem(r.rest + L"\\ARCH_TMP", r.stamp);
    if (StillGoing(host, stem, r.stamp)) return;
    RemoveWorkFiles(stem);
    r.state = kFailed;
    r.word = Code(BackupFailure::Cut);
    ReplaceAnsiLines(r.file, {FailureLine(BackupFailure::Cut, r.rest)});
}

// A run whose result file holds no whole line was stopped while the file
// was written, before its batch ran or as it ended: no batch of it still
// goes, so what it left in the work folder goes.  When its copy is in the
// backup folder it ended well, since a copy takes its stamped name only once
// checked; otherwise how it ended is not known.  The folder is the drive's
// as configured now ("" with none).
void JudgeUnknown(Result& r, const std::wstring& folder) {
    if (folder.empty()) return;
    RemoveWorkFiles(WorkStem(folder + L"\\ARCH_TMP", r.stamp));
    const std::wstring copy = folder + L"\\" + r.stamp + L"-BD.DB";
    if (FileExists(copy)) {
        r.state = kOk;
        r.word = L"?";  // its rows were not recorded
        r.rest = copy;
    } else {
        r.rest = folder;
    }
}

std::wstring Reason(const std::wstring& code, const std::wstring& folder, const std::wstring& install) {
    const std::wstring drive = DriveOf(folder);
    if (code == L"SQLITE") return L"no se encontró sqlite3.exe en " + install;
    if (code == L"LETRA") return L"«" + drive + L"» no es una letra de unidad";
    if (code == L"UNIDAD") return L"la unidad " + drive + L": no existe";
    if (code == L"CARPETA") return L"no se pudo escribir en " + folder;
    if (code == L"LECTURA") return L"la base de datos no se pudo leer";
    if (code == L"INCOMPLETA")
        return L"la copia no quedó completa (puede que la unidad " + drive + L": esté llena o se haya retirado)";
    if (code == L"NOMBRE") return L"la copia no se pudo guardar con su nombre en " + folder;
    if (code == L"ARRANQUE") return L"no se pudo iniciar la copia";
    return L"la copia se interrumpió antes de terminar (por ejemplo, al apagarse el equipo)";
}

std::wstring Notice(const Result& r, const std::wstring& install) {
    std::wstring text = L"No se pudo hacer la última copia de seguridad: " + Reason(r.word, r.rest, install) + L".";
    if (r.word == L"LETRA")
        return text + L"\r\n\r\nEscriba solo la letra de la unidad (por ejemplo, D) en «Unidad de Backup», "
                      L"bajo «Configurar».";
    return text + L"\r\n\r\nLas copias de seguridad se guardan en " + r.rest + L".";
}

std::wstring StampText(const std::wstring& stamp, const Regional& regional) {
    const auto at = StampValue(stamp);
    return at ? BackupTimeText(*at, regional) : stamp;
}

std::wstring UnknownNotice(const Result& r, const Regional& regional) {
    std::wstring text = L"No se sabe cómo terminó la copia de seguridad empezada el " + StampText(r.stamp, regional) +
                        L": el archivo " + r.file +
                        L", que lo guarda, está vacío o no se puede leer (puede que el equipo se apagara mientras "
                        L"se escribía).";
    if (r.rest.empty()) return text;
    return text + L"\r\n\r\nEsa copia, " + r.stamp + L"-BD.DB, no está en " + r.rest +
           L". La próxima copia se hará al cerrar Arcandora.";
}

bool Checked(const Result& r) { return r.state == kOk || r.state == kSeen; }

// The backup folder of a result: its copy's folder, or the folder it names.
std::wstring BackupFolderOf(const Result& r) {
    return Checked(r) ? r.rest.substr(0, r.rest.find_last_of(L'\\')) : r.rest;
}

void Mark(const Result& r, const wchar_t* state) {
    // A file that cannot be rewritten (it could not even be read) goes instead.
    if (!ReplaceAnsiLines(r.file, {std::wstring(state) + L" " + r.word + L" " + r.rest})) DeleteFileW(r.file.c_str());
}

}  // namespace

std::wstring LatestResultStamp(const std::wstring& install) {
    const auto names = ResultNames(install);
    return names.empty() ? L"" : names.back().substr(9, 12);
}

std::wstring ResultFileName(const std::wstring& stamp) { return L"RESPALDO-" + stamp + L".TXT"; }
std::wstring RunningLine(const std::wstring& backupFolder) { return std::wstring(kRunning) + L" " + backupFolder; }
std::wstring OkLine(const std::wstring& rows, const std::wstring& backupFile) {
    return std::wstring(kOk) + L" " + rows + L" " + backupFile;
}
std::wstring FailureLine(BackupFailure failure, const std::wstring& backupFolder) {
    return std::wstring(kFailed) + L" " + Code(failure) + L" " + backupFolder;
}

std::optional<std::wstring> TakeLastBackupNotice(Host& host, const std::wstring& drive) {
    const std::wstring install = host.InstallFolder();
    const std::wstring folder = drive.empty() ? L"" : PlacesFor(install, drive).folder;
    std::vector<Result> results = ResultsIn(host);
    for (auto& r : results) {
        if (r.state == kRunning) JudgeRunning(host, r);
        if (r.state == kUnknown) JudgeUnknown(r, folder);
        // A batch writes its result just before it deletes its work files:
        // one stopped in between leaves them, and nothing of it runs now.
        if (r.state == kOk || r.state == kFailed) RemoveWorkFiles(WorkStem(BackupFolderOf(r) + L"\\ARCH_TMP", r.stamp));
    }
    // Only the latest finished run speaks; a run still going after it waits
    // for a later start, and everything older has been superseded, except
    // the last checked copy's result, which says when it was made.
    const Result* latest = nullptr;
    const Result* lastChecked = nullptr;
    for (const auto& r : results) {
        if (r.state != kRunning) latest = &r;
        if (Checked(r)) lastChecked = &r;
    }
    for (const auto& r : results)
        if (r.state != kRunning && &r != latest && &r != lastChecked) DeleteFileW(r.file.c_str());
    // A checked copy is kept as read, so that the runs after it come after it.
    if (lastChecked && lastChecked->state == kOk) Mark(*lastChecked, kSeen);
    if (!latest || results.back().state == kRunning) return std::nullopt;
    if (latest->state != kFailed && latest->state != kUnknown) return std::nullopt;
    // Told once: the line is kept, marked, so that no later start repeats it.
    Result told = *latest;
    if (told.state == kUnknown) told.word = Code(BackupFailure::Unknown);
    Mark(told, kTold);
    return latest->state == kUnknown ? UnknownNotice(*latest, host.Regional()) : Notice(*latest, install);
}

std::wstring BackupTimeText(double when, const Regional& regional) {
    return ShortDate(when, regional) + L" a las " + FormatDate(when, L"hh:nn", regional);
}

std::optional<double> LastCheckedBackup(Host& host) {
    std::optional<double> when;
    for (const auto& r : ResultsIn(host))
        if (Checked(r)) when = StampValue(r.stamp);
    return when;
}

}  // namespace arc
