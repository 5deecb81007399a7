#include "BackupResult.h"

#include "Backup.h"

#include "platform/runtime/DateValue.h"
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

std::optional<Result> ReadResult(const std::wstring& install, const std::wstring& name) {
    Result r;
    r.stamp = name.substr(9, 12);  // RESPALDO-<stamp>.TXT
    r.file = install + L"\\" + name;
    auto line = ReadFirstAnsiLine(r.file);
    if (!line) return std::nullopt;
    size_t a = line->find(L' ');
    if (a == std::wstring::npos) return std::nullopt;
    r.state = line->substr(0, a);
    if (r.state == kRunning) {
        r.rest = line->substr(a + 1);
        return r;
    }
    size_t b = line->find(L' ', a + 1);
    if (b == std::wstring::npos) return std::nullopt;
    r.word = line->substr(a + 1, b - a - 1);
    r.rest = line->substr(b + 1);
    if (r.state != kOk && r.state != kFailed && r.state != kTold && r.state != kSeen) return std::nullopt;
    return r;
}

// The names of the result files, in the order of their stamps.
std::vector<std::wstring> ResultNames(const std::wstring& install) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((install + L"\\RESPALDO-????????????.TXT").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = fd.cFileName;
        if (name.size() == 25 &&
            std::all_of(name.begin() + 9, name.begin() + 21, [](wchar_t c) { return std::iswdigit(c) != 0; }))
            names.push_back(name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
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
    // A line still being written reads as none and is left for later.
    for (const auto& name : ResultNames(install))
        if (auto r = ReadResult(install, name)) results.push_back(*r);
    const double now = ClockNow(host);
    std::stable_sort(results.begin(), results.end(),
                     [now](const Result& a, const Result& b) { return Rank(a, now) < Rank(b, now); });
    return results;
}

// Whether another program has the file open for writing: the SQLite shell
// holds the snapshot while it dumps it and writes the dump, then the new
// database while it loads.  Readers are shared with, so the look never
// stops the shell from reading a file.
bool HeldOpen(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// A batch that has gone without reporting, or is still there long after it
// should have ended and holds none of its files, was cut short: its result
// says so and its work files go.
void JudgeRunning(Host& host, Result& r) {
    const std::wstring stem = WorkStem(r.rest + L"\\ARCH_TMP", r.stamp);
    auto started = StampValue(r.stamp);
    const double minutes = started ? (FromSystemTime(host.Now()) - *started) * 24 * 60 : 0;
    if (FileExists(stem + L".BAT") &&
        (minutes <= kRunningBatchMinutes || HeldOpen(stem + L".COPIA") || HeldOpen(stem + L".BACKUP") ||
         HeldOpen(stem + L".NUEVA")))
        return;
    RemoveWorkFiles(stem);
    r.state = kFailed;
    r.word = Code(BackupFailure::Cut);
    ReplaceAnsiLines(r.file, {FailureLine(BackupFailure::Cut, r.rest)});
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

std::optional<std::wstring> TakeLastBackupNotice(Host& host) {
    const std::wstring install = host.InstallFolder();
    std::vector<Result> results = ResultsIn(host);
    for (auto& r : results)
        if (r.state == kRunning) JudgeRunning(host, r);
    // Only the latest finished run speaks; a run still going after it waits
    // for a later start, and everything older has been superseded.
    const Result* latest = nullptr;
    for (const auto& r : results)
        if (r.state != kRunning) latest = &r;
    for (const auto& r : results)
        if (r.state != kRunning && &r != latest) DeleteFileW(r.file.c_str());
    if (!latest) return std::nullopt;
    // A checked copy is kept as read, so that the runs after it come after it.
    if (latest->state == kOk) ReplaceAnsiLines(latest->file, {std::wstring(kSeen) + L" " + latest->word + L" " + latest->rest});
    if (latest->state != kFailed || results.back().state == kRunning) return std::nullopt;
    // Told once: the line is kept, marked, so that no later start repeats it.
    ReplaceAnsiLines(latest->file, {std::wstring(kTold) + L" " + latest->word + L" " + latest->rest});
    return Notice(*latest, install);
}

}  // namespace arc
