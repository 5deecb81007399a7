#include "RepairBatch.h"

#include "DatabaseHealth.h"

#include "ledger/LedgerSchema.h"

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

// Text as it stands inside a batch line: "%" doubled, so that the command
// interpreter does not read it as a variable.
std::wstring BatchText(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'%') out += L'%';
    }
    return out;
}

// A statement that the shell runs with -bail and that fails, setting the
// error code, unless every value meets its condition: each value goes into a
// column of a temporary table whose CHECK constraint is the condition.
std::wstring Checked(const wchar_t* table, const std::vector<std::pair<std::wstring, std::wstring>>& checks) {
    std::wstring columns, values;
    for (const auto& [condition, value] : checks) {
        const std::wstring column = condition.substr(0, condition.find(L' '));
        columns += (columns.empty() ? L"" : L", ") + column + L" CHECK (" + condition + L")";
        values += (values.empty() ? L"" : L", ") + value;
    }
    return L"\"CREATE TEMP TABLE " + std::wstring(table) + L"(" + columns + L"); INSERT INTO " + table + L" SELECT " +
           values + L"\"";
}

const wchar_t kIntegrity[] = L"(SELECT group_concat(integrity_check, ' ') FROM pragma_integrity_check)";
const wchar_t kRowsNow[] = L"(SELECT count(*) FROM FINANZAS)";
const wchar_t kHistoryNow[] = L"(SELECT count(*) FROM HISTORIAL)";

// The proof of the new database: PRAGMA integrity_check must answer "ok",
// and FINANZAS must be there; a dump must also have kept every row of
// FINANZAS and of HISTORIAL that the chosen file had.
std::wstring ProofStatement(const RepairPlan& plan) {
    const bool dump = plan.command == DumpCommand::Dump;
    std::vector<std::pair<std::wstring, std::wstring>> checks = {{L"integridad = 'ok'", kIntegrity}};
    checks.emplace_back(dump && plan.rowsBefore ? L"filas = " + std::to_wstring(*plan.rowsBefore) : L"filas >= 0",
                        kRowsNow);
    if (dump && plan.historyBefore) checks.emplace_back(L"historial = " + std::to_wstring(*plan.historyBefore), kHistoryNow);
    return Checked(L"prueba", checks);
}

// Whether a recovery kept at least the rows the chosen file had.
std::wstring KeptEverything(const RepairPlan& plan) {
    std::vector<std::pair<std::wstring, std::wstring>> checks = {
        {L"filas >= " + std::to_wstring(*plan.rowsBefore), kRowsNow}};
    if (plan.historyBefore) checks.emplace_back(L"historial >= " + std::to_wstring(*plan.historyBefore), kHistoryNow);
    return Checked(L"comparacion", checks);
}

// What follows the count of a recovery's rows when the count before is
// known: " de 6000", and " (se perdieron 10)" when it kept fewer.
std::wstring OfBefore(const RepairPlan& plan, const std::optional<long long>& before) {
    if (plan.command != DumpCommand::Recover || !before) return L"";
    const std::wstring n = std::to_wstring(*before);
    return L" || ' de " + n + L"' || CASE WHEN count(*) < " + n + L" THEN ' (se perdieron ' || (" + n +
           L" - count(*)) || ')' ELSE '' END";
}

std::wstring CountBefore(const std::optional<long long>& rows) {
    return rows ? std::to_wstring(*rows) : std::wstring(L"no se pueden contar (el archivo está dañado)");
}

// The note of the repair that the new database carries to Arcandora
// (kPendingRepairTable).
std::wstring PendingRepairStatement(const RepairPlan& plan, const std::wstring& name) {
    std::wstring note = L"ARCHIVO=" + name + L";ANTERIOR=" + plan.setAsideName + L";VOLCADO=" +
                        NameOf(DumpFileOf(plan.chosenFile)) + L";MODO=" +
                        (plan.command == DumpCommand::Recover ? L"RECUPERACION" : L"VOLCADO") + L";FILAS_ANTES=" +
                        (plan.rowsBefore ? std::to_wstring(*plan.rowsBefore) : L"?");
    if (plan.historyBefore || plan.historyUncounted)
        note += L";HISTORIAL_ANTES=" + (plan.historyBefore ? std::to_wstring(*plan.historyBefore) : L"?");
    auto quoted = [](const std::wstring& text) {
        std::wstring out = L"'";
        for (wchar_t c : text) out += c == L'\'' ? std::wstring(L"''") : std::wstring(1, c);
        return out + L"'";
    };
    const std::wstring table = kPendingRepairTable;
    return L"\"CREATE TABLE IF NOT EXISTS " + table + L" (MOMENTO TEXT, NOTA TEXT); INSERT INTO " + table +
           L" VALUES (" + quoted(plan.moment) + L", " + quoted(note) + L")\"";
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
    // The history is looked for in the new database when the chosen file had one.
    const bool history = plan.historyBefore || plan.historyUncounted;
    // A recovery whose rows can be compared with the file's goes on alone
    // when it kept them all; any other recovery asks before the swap.
    const bool comparable = plan.rowsBefore && !plan.historyUncounted;
    auto query = [&](const std::wstring& sql) { return shell + L" " + fresh + L" \"" + sql + L"\""; };

    // What is about to happen, and what was found.
    add(true, {L"@echo off", Echo(L"Reparación de " + f),
               Echo(L"Filas de FINANZAS antes de reparar: " + CountBefore(plan.rowsBefore))});
    add(history, {Echo(L"Filas de HISTORIAL antes de reparar: " + CountBefore(plan.historyBefore))});
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
               L"if errorlevel 1 goto volcado", shell + L" -bail " + fresh + L" < " + dump, L"if errorlevel 1 goto carga"});
    // The balances of a recovery may count rows it lost: each becomes again
    // the sum of the amounts kept up to its row, as Arcandora computes it.
    add(recover, {shell + L" -bail " + fresh + L" \"" + kRecomputeRunningBalances + L"\"", L"if errorlevel 1 goto saldos",
                  Echo(L"Saldos (ESTADO) recalculados en la base nueva: cada uno es la suma de los importes hasta su fila.")});
    add(true, {shell + L" -bail " + fresh + L" " + ProofStatement(plan), L"if errorlevel 1 goto prueba"});

    // What the new database holds, said before the swap.
    add(true, {query(L"SELECT 'Filas de FINANZAS en la base nueva: ' || count(*)" + OfBefore(plan, plan.rowsBefore) +
                     L" FROM FINANZAS")});
    add(history, {query(L"SELECT 'Filas de HISTORIAL en la base nueva: ' || count(*)" + OfBefore(plan, plan.historyBefore) +
                        L" FROM HISTORIAL") + L" 2>nul",
                  L"if errorlevel 1 " + Echo(L"Filas de HISTORIAL en la base nueva: ninguna, la tabla HISTORIAL se perdió.")});
    add(true, {query(L"SELECT 'Suma de ingresos de la base nueva: ' || replace(printf('%%.2f', total(INGRESO)), '.', "
                     L"',') || '; suma de egresos: ' || replace(printf('%%.2f', total(EGRESO)), '.', ',') FROM FINANZAS")});
    add(recover, {query(L"SELECT 'Filas halladas en lost_and_found: ' || count(*) FROM lost_and_found HAVING count(*) > 0") +
                  L" 2>nul"});

    // A recovery that lost rows, or whose losses cannot be known, goes on
    // only when the user types S; anything else, a syntax error included,
    // falls through to the refusal.
    add(recover && comparable, {shell + L" -bail " + fresh + L" " + KeptEverything(plan) + L" 2>nul",
                                L"if not errorlevel 1 goto confirmada",
                                Echo(L"Atención: la recuperación perdió filas (vea las cifras de arriba).")});
    add(recover && !comparable,
        {Echo(L"Atención: las filas del archivo dañado no se pueden contar, así que no se sabe si la base nueva las "
              L"conserva todas: compare las cifras de arriba con las suyas.")});
    add(recover, {L"set respuesta=",
                  L"set /p respuesta=Escriba S y pulse Intro para poner la base nueva en lugar del archivo; con otra "
                  L"respuesta el archivo se queda como está: ",
                  L"if /i \"%respuesta%\"==\"S\" goto confirmada", L"goto rechazada", L":confirmada"});

    // The note of the repair, for the book's history.
    add(true, {shell + L" -bail " + fresh + L" " + BatchText(PendingRepairStatement(plan, name)), L"if errorlevel 1 goto nota"});

    // Swap: the chosen file (and its journal) aside, the new file in its place.
    // The interpreter's "ren" sets no error code everywhere, so each rename is
    // judged by the name it was to free.
    add(true, {L"ren " + file + L" " + plan.setAsideName, L"if exist " + file + L" goto apartar"});
    add(journal, {L"ren " + fileJournal + L" " + plan.setAsideName + L"-journal", L"if exist " + fileJournal + L" goto diario"});
    add(true, {L"ren " + fresh + L" BD.db", L"if exist " + fresh + L" goto nombrar", L"call :limpiar",
               Echo(L"Listo: BD.db es la base reparada; el archivo anterior quedó como " + plan.setAsideName +
                    L" y el volcado como " + NameOf(DumpFileOf(f)) + L". Arcandora anotará la reparación en el "
                    L"historial del libro al abrirlo."),
               shell + L" " + BatchWord(folder + L"\\BD.db"), L"goto :eof"});

    // What failed, and the way back.
    add(true, {L":copia", Echo(L"ERROR: no se pudo copiar el archivo para repararlo."), L"goto sin_cambios",
               L":volcado", Echo(L"ERROR: SQLite no pudo volcar el archivo."), L"goto sin_cambios",
               L":carga", Echo(L"ERROR: no se pudo construir la base nueva con el volcado (puede que el disco esté lleno o el volcado incompleto)."),
               L"goto sin_cambios"});
    add(recover, {L":saldos", Echo(L"ERROR: no se pudieron recalcular los saldos de la base nueva."), L"goto sin_cambios",
                  L":rechazada", Echo(L"No se ha puesto la base nueva: no se escribió S."), L"goto sin_cambios"});
    add(true, {L":prueba", Echo(L"ERROR: la base nueva no pasó la comprobación (integridad o filas de FINANZAS o de HISTORIAL)."),
               L"goto sin_cambios",
               L":nota", Echo(L"ERROR: no se pudo anotar la reparación en la base nueva."), L"goto sin_cambios"});
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
