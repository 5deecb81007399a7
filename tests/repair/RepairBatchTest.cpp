// The lines of REPARADOR.BAT and the paths that go into them.  What the lines
// do is proven end to end (repair_end_to_end.sh); here: which lines a plan
// gives, in which order.
#include "repair/RepairBatch.h"

#include "ledger/LedgerSchema.h"

#include "support/TempFolder.h"

#include "platform/runtime/Text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace arc::repair {
namespace {

using Lines = std::vector<std::wstring>;

RepairPlan Plan(const std::wstring& file = L"C:\\ARCANDORA\\BD.db") {
    RepairPlan plan;
    plan.programFolder = L"C:\\ARCANDORA";
    plan.chosenFile = file;
    plan.rowsBefore = 6000;
    plan.moment = L"2026-12-07 12:00:00";
    return plan;
}

// Where the line stands in the batch; the line count when it is not there.
size_t At(const Lines& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
}
size_t Starting(const Lines& lines, const std::wstring& start) {
    return std::find_if(lines.begin(), lines.end(), [&](const std::wstring& l) { return l.rfind(start, 0) == 0; }) -
           lines.begin();
}

TEST(RepairBatchLines, ProvesTheNewDatabaseBeforeTheSwapAndEndsAtThePromptOnBDdb) {
    const Lines b = RepairBatchLines(Plan());
    EXPECT_EQ(b[0], L"@echo off");
    EXPECT_EQ(b[1], L"echo Reparación de C:\\ARCANDORA\\BD.db");
    EXPECT_EQ(b[2], L"echo Filas de FINANZAS antes de reparar: 6000");
    const std::wstring s = L"C:\\ARCANDORA\\sqlite3.exe ";
    const Lines steps = {
        L"copy /b C:\\ARCANDORA\\BD.db C:\\ARCANDORA\\BD.db.REPARAR_COPIA >nul",
        L"del /f C:\\ARCANDORA\\BD.db.REPARAR_BD 2>nul",
        L"echo .dump | " + s + L"-bail C:\\ARCANDORA\\BD.db.REPARAR_COPIA > C:\\ARCANDORA\\BD.db.REPARAR_BD",
        s + L"-bail C:\\ARCANDORA\\BD.db.REPARAR_NUEVO < C:\\ARCANDORA\\BD.db.REPARAR_BD",
        s + L"-bail C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"CREATE TEMP TABLE prueba(integridad CHECK (integridad = 'ok'), "
            L"filas CHECK (filas = 6000)); INSERT INTO prueba SELECT (SELECT group_concat(integrity_check, ' ') FROM "
            L"pragma_integrity_check), (SELECT count(*) FROM FINANZAS)\"",
        L"ren C:\\ARCANDORA\\BD.db BD.DB.anterior",
        L"ren C:\\ARCANDORA\\BD.db.REPARAR_NUEVO BD.db",
        s + L"C:\\ARCANDORA\\BD.db",
    };
    size_t previous = 0;
    for (const auto& step : steps) {
        const size_t at = At(b, step);
        ASSERT_LT(at, b.size()) << ToUtf8(step);
        EXPECT_GT(at, previous) << ToUtf8(step);
        // Each step that can fail is judged before the next one runs.
        const bool byName = step.rfind(L"ren ", 0) == 0 || step.rfind(L"del ", 0) == 0;
        const std::wstring judge = byName ? L"if exist " : L"if errorlevel 1 goto ";
        if (step != steps.back()) {
            EXPECT_EQ(b[at + 1].rfind(judge, 0), 0u) << ToUtf8(b[at + 1]);
        }
        previous = at;
    }
    // Nothing about journals, recovery, history or earlier repairs; no question.
    for (const auto& line : b) EXPECT_EQ(line.find(L"BD.db-journal"), std::wstring::npos) << ToUtf8(line);
    for (const auto& line : b) EXPECT_EQ(line.find(L"FROM HISTORIAL"), std::wstring::npos) << ToUtf8(line);
    EXPECT_EQ(Starting(b, L"echo .recover"), b.size());
    EXPECT_EQ(Starting(b, L"set /p"), b.size());
    // What the new file holds is said before the swap, and it carries the
    // note of its repair into the book's history.
    const size_t sums = Starting(b, s + L"C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"SELECT 'Suma de ingresos de la base "
                                        L"nueva: ' || replace(printf('%%.2f', total(INGRESO))");
    const size_t note = At(b, s + L"-bail C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"CREATE TABLE IF NOT EXISTS "
                               L"REPARACION_PENDIENTE (MOMENTO TEXT, NOTA TEXT); INSERT INTO REPARACION_PENDIENTE "
                               L"VALUES ('2026-12-07 12:00:00', 'ARCHIVO=BD.db;ANTERIOR=BD.DB.anterior;"
                               L"VOLCADO=BD.db.REPARAR_BD;MODO=VOLCADO;FILAS_ANTES=6000')\"");
    EXPECT_LT(sums, note);
    EXPECT_LT(note, At(b, steps[5]));
    EXPECT_EQ(b[note + 1], L"if errorlevel 1 goto nota");

    // A book with its history: the dump must keep every entry too.
    RepairPlan withHistory = Plan();
    withHistory.historyBefore = 40;
    const Lines h = RepairBatchLines(withHistory);
    EXPECT_EQ(h[3], L"echo Filas de HISTORIAL antes de reparar: 40");
    EXPECT_NE(h[Starting(h, s + L"-bail C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"CREATE TEMP TABLE prueba")].find(
                  L"filas CHECK (filas = 6000), historial CHECK (historial = 40)); INSERT INTO prueba SELECT (SELECT "
                  L"group_concat(integrity_check, ' ') FROM pragma_integrity_check), (SELECT count(*) FROM FINANZAS), "
                  L"(SELECT count(*) FROM HISTORIAL)\""),
              std::wstring::npos);
    EXPECT_NE(h[Starting(h, s + L"-bail C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"CREATE TABLE IF NOT EXISTS")].find(
                  L";FILAS_ANTES=6000;HISTORIAL_ANTES=40')"),
              std::wstring::npos);
    // Every jump has its label.
    for (const auto& line : b) {
        const auto go = line.find(L"goto ");
        if (go == std::wstring::npos || line.substr(go + 5) == L":eof") continue;
        EXPECT_LT(At(b, L":" + line.substr(go + 5)), b.size()) << ToUtf8(line);
    }
}

// What the end-to-end cases cannot reach: a recovery whose rows could be
// counted (it asks only when it kept fewer), the lost_and_found line, and
// the way back of a crashed file with its journal.
TEST(RepairBatchLines, RecoveryOfACrashedFileKeepsTheCountedRowsAndGoesBackWithItsJournal) {
    RepairPlan plan = Plan();
    plan.command = DumpCommand::Recover;
    plan.hotJournal = true;
    plan.historyBefore = 12;
    plan.setAsideName = L"BD.DB.anterior.2";
    const Lines b = RepairBatchLines(plan);
    const std::wstring s = L"C:\\ARCANDORA\\sqlite3.exe ", fresh = L"C:\\ARCANDORA\\BD.db.REPARAR_NUEVO ";
    // The balances recomputed with the ledger's own statement, then the proof
    // of the file alone: what was kept is compared afterwards.
    const size_t balances = At(b, s + L"-bail " + fresh + L"\"" + kRecomputeRunningBalances + L"\"");
    const size_t proof = Starting(b, s + L"-bail " + fresh + L"\"CREATE TEMP TABLE prueba");
    ASSERT_LT(proof, b.size());
    EXPECT_LT(balances, proof);
    EXPECT_NE(b[proof].find(L"filas CHECK (filas >= 0))"), std::wstring::npos) << ToUtf8(b[proof]);
    EXPECT_LT(At(b, s + fresh + L"\"SELECT 'Filas de HISTORIAL en la base nueva: ' || count(*) || ' de 12' || CASE "
                                L"WHEN count(*) < 12 THEN ' (se perdieron ' || (12 - count(*)) || ')' ELSE '' END FROM "
                                L"HISTORIAL\" 2>nul"),
              b.size());
    EXPECT_LT(Starting(b, s + fresh + L"\"SELECT 'Filas halladas en lost_and_found: '"), b.size());
    // Kept everything: straight on; kept less: said, and asked.
    const size_t compared = At(b, s + L"-bail " + fresh + L"\"CREATE TEMP TABLE comparacion(filas CHECK (filas >= 6000), "
                                  L"historial CHECK (historial >= 12)); INSERT INTO comparacion SELECT (SELECT count(*) "
                                  L"FROM FINANZAS), (SELECT count(*) FROM HISTORIAL)\" 2>nul");
    ASSERT_LT(compared, b.size());
    EXPECT_EQ(b[compared + 1], L"if not errorlevel 1 goto confirmada");
    EXPECT_EQ(b[compared + 2], L"echo Atención: la recuperación perdió filas (vea las cifras de arriba).");
    const size_t asked = Starting(b, L"set /p respuesta=");
    EXPECT_EQ(b[asked + 1], L"if /i \"%respuesta%\"==\"S\" goto confirmada");
    EXPECT_EQ(b[asked + 2], L"goto rechazada");
    const size_t confirmed = At(b, L":confirmada");
    EXPECT_LT(compared, asked);
    EXPECT_LT(asked, confirmed);
    EXPECT_EQ(Starting(b, s + L"-bail " + fresh + L"\"CREATE TABLE IF NOT EXISTS REPARACION_PENDIENTE"), confirmed + 1);
    EXPECT_LT(confirmed, Starting(b, L"ren "));

    // A new file that cannot take the name BD.db: the journal returns first,
    // then the file; a file left without its journal would read as the crash left it.
    const size_t back = At(b, L":nombrar");
    const size_t journal = At(b, L"ren C:\\ARCANDORA\\BD.DB.anterior.2-journal BD.db-journal");
    const size_t file = At(b, L"ren C:\\ARCANDORA\\BD.DB.anterior.2 BD.db");
    EXPECT_LT(back, journal);
    EXPECT_LT(journal, file);
    EXPECT_LT(file, b.size());
    EXPECT_EQ(b[journal + 1], L"if exist C:\\ARCANDORA\\BD.DB.anterior.2-journal goto apartado");

    // Rows that could not be counted: nothing to compare, always asked.
    plan.rowsBefore.reset();
    plan.historyBefore.reset();
    plan.historyUncounted = true;
    const Lines u = RepairBatchLines(plan);
    EXPECT_EQ(u[2], L"echo Filas de FINANZAS antes de reparar: no se pueden contar (el archivo está dañado)");
    EXPECT_EQ(u[3], L"echo Filas de HISTORIAL antes de reparar: no se pueden contar (el archivo está dañado)");
    EXPECT_EQ(Starting(u, s + L"-bail " + fresh + L"\"CREATE TEMP TABLE comparacion"), u.size());
    EXPECT_LT(Starting(u, L"echo Atención: las filas del archivo dañado no se pueden contar"), Starting(u, L"set /p "));
    EXPECT_LT(Starting(u, L"set /p "), Starting(u, L"ren "));
}

TEST(RepairBatchLines, PathsStandQuotedInCommandsAndEscapedInMessages) {
    RepairPlan plan = Plan(L"D:\\Pérez & Hijos\\al 50%\\caja 2024.db");
    plan.programFolder = L"C:\\Archivos de programa\\Corvelan";
    const Lines b = RepairBatchLines(plan);
    EXPECT_EQ(b[1], L"echo Reparación de D:\\Pérez ^& Hijos\\al 50%%\\caja 2024.db");
    EXPECT_LT(At(b, L"copy /b \"D:\\Pérez & Hijos\\al 50%%\\caja 2024.db\" \"D:\\Pérez & Hijos\\al 50%%\\caja "
                    L"2024.db.REPARAR_COPIA\" >nul"),
              b.size());
    EXPECT_LT(At(b, L"\"C:\\Archivos de programa\\Corvelan\\sqlite3.exe\" \"D:\\Pérez & Hijos\\al 50%%\\BD.db\""), b.size());
    // Going back gives the file its own name, quoted.
    EXPECT_LT(At(b, L"ren \"D:\\Pérez & Hijos\\al 50%%\\BD.DB.anterior\" \"caja 2024.db\""), b.size());
    // In the note of the repair a name stands as itself: its quote doubled
    // for SQL, its "%" for the interpreter.
    const Lines q = RepairBatchLines(Plan(L"C:\\Caja\\d'Alba 5%.db"));
    const size_t note = Starting(q, L"C:\\ARCANDORA\\sqlite3.exe -bail \"C:\\Caja\\d'Alba 5%%.db.REPARAR_NUEVO\" "
                                    L"\"CREATE TABLE IF NOT EXISTS");
    ASSERT_LT(note, q.size());
    EXPECT_NE(q[note].find(L"'ARCHIVO=d''Alba 5%%.db;ANTERIOR=BD.DB.anterior;VOLCADO=d''Alba 5%%.db.REPARAR_BD;"),
              std::wstring::npos)
        << ToUtf8(q[note]);
}

TEST(BatchWord, CharactersTheInterpreterWouldReadAsSyntaxAreKeptLiteral) {
    EXPECT_EQ(BatchWord(L"C:\\Caja\\BD.db"), L"C:\\Caja\\BD.db");
    EXPECT_EQ(BatchWord(L"C:\\Pérez&Hijos\\BD.db"), L"\"C:\\Pérez&Hijos\\BD.db\"");
    EXPECT_EQ(BatchWord(L"C:\\Caja(1)\\BD.db"), L"\"C:\\Caja(1)\\BD.db\"");
    EXPECT_EQ(BatchWord(L"C:\\100%\\BD.db"), L"C:\\100%%\\BD.db");
    EXPECT_EQ(BatchWord(L"C:\\al 50%\\BD.db"), L"\"C:\\al 50%%\\BD.db\"");
}

TEST(WorkingFolderOf, IsTheChosenFilesFolderAndTheRootForAFileAtTheRoot) {
    EXPECT_EQ(WorkingFolderOf(L"C:\\ARCANDORA\\BD.db"), L"C:\\ARCANDORA");
    EXPECT_EQ(WorkingFolderOf(L"D:\\Mis datos\\copias\\BD.db"), L"D:\\Mis datos\\copias");
    EXPECT_EQ(WorkingFolderOf(L"C:\\BD.db"), L"C:\\");
}

TEST(FreeSetAsideName, SkipsNamesTakenByAFileOrItsJournal) {
    test::TempFolder folder;
    EXPECT_EQ(FreeSetAsideName(folder.Path()), L"BD.DB.anterior");
    test::WriteBytes(folder / L"BD.DB.anterior", "x");
    test::WriteBytes(folder / L"BD.DB.anterior.1-journal", "x");
    EXPECT_EQ(FreeSetAsideName(folder.Path()), L"BD.DB.anterior.2");
}

TEST(BatchSafePath, KeepsPathsBothCodePagesHoldAndShortensOrRefusesTheOthers) {
    EXPECT_EQ(BatchSafePath(L"C:\\Año 2024\\BD.db"), std::optional<std::wstring>(L"C:\\Año 2024\\BD.db"));

    test::TempFolder folder;
    const std::wstring greek = folder / L"Καλημέρα.db";
    test::WriteBytes(greek, "x");
    // The short form names the same file and holds no letter outside the code pages.
    auto safe = BatchSafePath(greek);
    ASSERT_TRUE(safe.has_value());
    EXPECT_NE(*safe, greek);
    EXPECT_EQ(FromAnsi(ToAnsi(*safe)), *safe);
    EXPECT_EQ(FromOem(ToOem(*safe)), *safe);
    EXPECT_EQ(test::ReadBytes(*safe), "x");
    // A file that does not exist has no short form to fall back on.
    EXPECT_EQ(BatchSafePath(folder / L"Ωμέγα.db"), std::nullopt);
}

}  // namespace
}  // namespace arc::repair
