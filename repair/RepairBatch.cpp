#include "RepairBatch.h"

#include "DatabaseHealth.h"

#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

#include <windows.h>

namespace arc::repair {
namespace {

// Characters after which the command interpreter wants a name quoted: the
// blank and tab, and the ones it treats as separators or operators.
constexpr wchar_t kNeedsQuotes[] = L" \t&()[]{}^=;!'+,`~|<>";
constexpr wchar_t kSetAside[] = L"BD.DB.anterior";

bool SurvivesCodePages(const std::wstring& text) {
    return FromAnsi(ToAnsi(text)) == text && FromOem(ToOem(text)) == text;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

// An echo line that shows the text as it stands: the interpreter's operators
// escaped with "^", and "%" doubled.
std::wstring Echo(const std::wstring& text) {
    std::wstring line = L"echo ";
    for (wchar_t c : text) {
        if (c == L'%') line += L'%';
        if (c == L'&' || c == L'|' || c == L'<' || c == L'>' || c == L'^') line += L'^';
        line += c;
    }
    return line;
}

// The check of the new database, as one statement the shell runs with
// -bail: a CHECK constraint that fails makes the shell say which one and end
// with an error code.  PRAGMA integrity_check must answer "ok", and FINANZAS
// must be there with the rows the plan expects.
std::wstring CheckStatement(const RepairPlan& plan) {
    std::wstring rows = L"filas >= 0";
    if (plan.rowsBefore) {
        rows = std::wstring(L"filas ") + (plan.command == DumpCommand::Dump ? L"= " : L">= ") +
               std::to_wstring(*plan.rowsBefore);
    }
    return L"\"CREATE TEMP TABLE prueba(integridad CHECK (integridad = 'ok'), filas CHECK (" + rows +
           L")); INSERT INTO prueba SELECT (SELECT group_concat(integrity_check, ' ') FROM pragma_integrity_check), "
           L"(SELECT count(*) FROM FINANZAS)\"";
}

}  // namespace

std::wstring RepairBatchFile(const std::wstring& programFolder) { return programFolder + L"\\REPARADOR.BAT"; }

std::wstring DumpFileOf(const std::wstring& chosenFile) { return chosenFile + L".REPARAR_BD"; }
std::wstring CopyFileOf(const std::wstring& chosenFile) { return chosenFile + L".REPARAR_COPIA"; }
std::wstring NewFileOf(const std::wstring& chosenFile) { return chosenFile + L".REPARAR_NUEVO"; }

std::wstring BatchWord(const std::wstring& path) {
    std::wstring word;
    for (wchar_t c : path) {
        word += c;
        if (c == L'%') word += L'%';
    }
    if (path.find_first_of(kNeedsQuotes) != std::wstring::npos) word = L"\"" + word + L"\"";
    return word;
}

std::vector<std::wstring> RepairBatchLines(const RepairPlan& plan) {
    const std::wstring& f = plan.chosenFile;
    const std::wstring folder = FolderOf(f);
    const std::wstring name = NameOf(f);
    const std::wstring aside = folder + L"\\" + plan.setAsideName;
    const bool recover = plan.command == DumpCommand::Recover;
    const bool journal = plan.hotJournal;

    const std::wstring shell = BatchWord(plan.programFolder + L"\\sqlite3.exe");
    const std::wstring file = BatchWord(f), fileJournal = BatchWord(JournalOf(f));
    const std::wstring dump = BatchWord(DumpFileOf(f));
    const std::wstring copy = BatchWord(CopyFileOf(f)), copyJournal = BatchWord(JournalOf(CopyFileOf(f)));
    const std::wstring fresh = BatchWord(NewFileOf(f)), freshJournal = BatchWord(JournalOf(NewFileOf(f)));
    const std::wstring asideWord = BatchWord(aside), asideJournal = BatchWord(JournalOf(aside));

    std::vector<std::wstring> b;
    auto add = [&b](bool when, std::initializer_list<std::wstring> lines) {
        if (when) b.insert(b.end(), lines);
    };

    // What is about to happen, and what was found.
    add(true, {L"@echo off", Echo(L"Reparación de " + f),
               Echo(L"Filas de FINANZAS antes de reparar: " +
                    (plan.rowsBefore ? std::to_wstring(*plan.rowsBefore)
                                     : std::wstring(L"no se pueden contar (el archivo está dañado)")))});
    add(recover, {Echo(L"El archivo está dañado: se recupera con .recover lo que se pueda leer.")});
    add(journal, {Echo(L"El archivo tiene un diario pendiente (" + NameOf(JournalOf(f)) +
                       L") de una sesión interrumpida: se deshace sobre una copia, sin tocar el original.")});
    add(plan.setAsideName != kSetAside,
        {Echo(std::wstring(L"Ya hay un ") + kSetAside + L" de una reparación anterior: se conserva, y este archivo quedará como " +
              plan.setAsideName + L".")});

    // Prove: dump a copy, build the new database from the dump, check it.
    add(true, {L"call :limpiar", L"copy /b " + file + L" " + copy + L" >nul", L"if errorlevel 1 goto copia"});
    add(journal, {L"copy /b " + fileJournal + L" " + copyJournal + L" >nul", L"if errorlevel 1 goto copia"});
    // The dump of an earlier run goes first, so that a dump that cannot be
    // written is never taken for this one.
    add(true, {L"del /f " + dump + L" 2>nul", L"if exist " + dump + L" goto volcado"});
    add(true, {L"echo " + std::wstring(recover ? L".recover" : L".dump") + L" | " + shell + L" -bail " + copy + L" > " + dump,
               L"if errorlevel 1 goto volcado", shell + L" -bail " + fresh + L" < " + dump, L"if errorlevel 1 goto carga",
               shell + L" -bail " + fresh + L" " + CheckStatement(plan), L"if errorlevel 1 goto prueba",
               shell + L" " + fresh + L" \"SELECT 'Filas de FINANZAS en la base nueva: ' || count(*) FROM FINANZAS\""});
    add(recover, {shell + L" " + fresh +
                  L" \"SELECT 'Filas halladas en lost_and_found: ' || count(*) FROM lost_and_found HAVING count(*) > 0\" 2>nul"});

    // Swap: the chosen file (and its journal) aside, the new file in its place.
    // The interpreter's "ren" sets no error code everywhere, so each rename is
    // judged by the name it was to free.
    add(true, {L"ren " + file + L" " + plan.setAsideName, L"if exist " + file + L" goto apartar"});
    add(journal, {L"ren " + fileJournal + L" " + plan.setAsideName + L"-journal", L"if exist " + fileJournal + L" goto diario"});
    add(true, {L"ren " + fresh + L" BD.db", L"if exist " + fresh + L" goto nombrar", L"call :limpiar",
               Echo(L"Listo: BD.db es la base reparada; el archivo anterior quedó como " + plan.setAsideName +
                    L" y el volcado como " + NameOf(DumpFileOf(f)) + L"."),
               shell + L" " + BatchWord(folder + L"\\BD.db"), L"goto :eof"});

    // What failed, and the way back.
    add(true, {L":copia", Echo(L"ERROR: no se pudo copiar el archivo para repararlo."), L"goto sin_cambios",
               L":volcado", Echo(L"ERROR: SQLite no pudo volcar el archivo."), L"goto sin_cambios",
               L":carga", Echo(L"ERROR: no se pudo construir la base nueva con el volcado (puede que el disco esté lleno o el volcado incompleto)."),
               L"goto sin_cambios",
               L":prueba", Echo(L"ERROR: la base nueva no pasó la comprobación (integridad o filas de FINANZAS)."),
               L"goto sin_cambios"});
    add(journal, {L":diario", Echo(L"ERROR: no se pudo cambiar el nombre del diario a " + plan.setAsideName + L"-journal."),
                  L"goto devolver"});
    add(true, {L":nombrar", Echo(L"ERROR: no se pudo dar el nombre BD.db a la base nueva.")});
    add(journal, {L"ren " + asideJournal + L" " + BatchWord(NameOf(JournalOf(f))),
                  L"if exist " + asideJournal + L" goto apartado"});
    add(journal, {L":devolver"});
    add(true, {L"ren " + asideWord + L" " + BatchWord(name), L"if exist " + asideWord + L" goto apartado",
               L"goto sin_cambios",
               L":apartar", Echo(L"ERROR: no se pudo cambiar el nombre del archivo a " + plan.setAsideName + L"."),
               L":sin_cambios", L"call :limpiar", Echo(L"El libro no se ha cambiado: " + f + L" sigue como estaba."),
               L"pause", L"goto :eof",
               L":apartado",
               Echo(L"Atención: el archivo quedó como " + plan.setAsideName + L" y no se le pudo devolver su nombre " + name +
                    L"; hágalo antes de abrir Arcandora. La base nueva comprobada quedó como " + NameOf(NewFileOf(f)) + L"."),
               L"pause", L"goto :eof",
               L":limpiar", L"del /f " + copy + L" " + copyJournal + L" " + fresh + L" " + freshJournal + L" 2>nul",
               L"goto :eof"});
    return b;
}

std::wstring FreeSetAsideName(const std::wstring& folder) {
    std::wstring name = kSetAside;
    for (int n = 1; FileExists(folder + L"\\" + name) || FileExists(JournalOf(folder + L"\\" + name)); ++n)
        name = kSetAside + (L"." + std::to_wstring(n));
    return name;
}

std::optional<std::wstring> BatchSafePath(const std::wstring& path) {
    if (SurvivesCodePages(path)) return path;
    DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring shortPath(n, L'\0');
    n = GetShortPathNameW(path.c_str(), shortPath.data(), n);
    if (n == 0 || n >= shortPath.size()) return std::nullopt;
    shortPath.resize(n);
    if (!SurvivesCodePages(shortPath)) return std::nullopt;
    return shortPath;
}

std::wstring WorkingFolderOf(const std::wstring& chosenFile) {
    std::wstring folder = FolderOf(chosenFile);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

}  // namespace arc::repair
