// The lines of REPARADOR.BAT and the paths that go into them.  What the lines
// do is proven end to end (repair_end_to_end.sh); here: which lines a plan
// gives, in which order.
#include "repair/RepairBatch.h"

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
    // Nothing about journals, recovery or earlier repairs.
    for (const auto& line : b) EXPECT_EQ(line.find(L"BD.db-journal"), std::wstring::npos) << ToUtf8(line);
    EXPECT_EQ(Starting(b, L"echo .recover"), b.size());
    // Every jump has its label.
    for (const auto& line : b) {
        const auto go = line.find(L"goto ");
        if (go == std::wstring::npos || line.substr(go + 5) == L":eof") continue;
        EXPECT_LT(At(b, L":" + line.substr(go + 5)), b.size()) << ToUtf8(line);
    }
}

// What the end-to-end cases cannot reach: the check of a recovery, the
// lost_and_found line, and the way back of a crashed file with its journal.
TEST(RepairBatchLines, RecoveryOfACrashedFileKeepsTheCountedRowsAndGoesBackWithItsJournal) {
    RepairPlan plan = Plan();
    plan.command = DumpCommand::Recover;
    plan.hotJournal = true;
    plan.setAsideName = L"BD.DB.anterior.2";
    const Lines b = RepairBatchLines(plan);
    const std::wstring fresh = L"C:\\ARCANDORA\\sqlite3.exe -bail C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"CREATE TEMP TABLE";
    ASSERT_LT(Starting(b, fresh), b.size());
    EXPECT_NE(b[Starting(b, fresh)].find(L"CHECK (filas >= 6000)"), std::wstring::npos);
    EXPECT_LT(Starting(b, L"C:\\ARCANDORA\\sqlite3.exe C:\\ARCANDORA\\BD.db.REPARAR_NUEVO \"SELECT 'Filas halladas en "
                          L"lost_and_found: '"),
              b.size());
    // A new file that cannot take the name BD.db: the journal returns first,
    // then the file; a file left without its journal would read as the crash left it.
    const size_t back = At(b, L":nombrar");
    const size_t journal = At(b, L"ren C:\\ARCANDORA\\BD.DB.anterior.2-journal BD.db-journal");
    const size_t file = At(b, L"ren C:\\ARCANDORA\\BD.DB.anterior.2 BD.db");
    EXPECT_LT(back, journal);
    EXPECT_LT(journal, file);
    EXPECT_LT(file, b.size());
    EXPECT_EQ(b[journal + 1], L"if exist C:\\ARCANDORA\\BD.DB.anterior.2-journal goto apartado");

    plan.rowsBefore.reset();
    EXPECT_EQ(RepairBatchLines(plan)[2], L"echo Filas de FINANZAS antes de reparar: no se pueden contar (el archivo está dañado)");
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
