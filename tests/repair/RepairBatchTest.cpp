// The lines of REPARADOR.BAT and the paths that go into them.
#include "repair/RepairBatch.h"

#include "support/TempFolder.h"

#include "platform/runtime/Text.h"

#include <gtest/gtest.h>

namespace arc::repair {
namespace {

using Lines = std::vector<std::wstring>;

TEST(RepairBatchLines, InstalledBesideTheLedgerGivesTheFourLinesOfTheExample) {
    EXPECT_EQ(RepairBatchLines(L"C:\\ARCANDORA", L"C:\\ARCANDORA\\BD.db", DumpCommand::Dump),
              (Lines{L"@echo off",
                     L"echo .dump | C:\\ARCANDORA\\sqlite3.exe C:\\ARCANDORA\\BD.db > C:\\ARCANDORA\\BD.db.REPARAR_BD",
                     L"ren C:\\ARCANDORA\\BD.db BD.DB.anterior",
                     L"C:\\ARCANDORA\\sqlite3.exe -init C:\\ARCANDORA\\BD.db.REPARAR_BD BD.db"}));
    EXPECT_EQ(RepairBatchFile(L"C:\\ARCANDORA"), L"C:\\ARCANDORA\\REPARADOR.BAT");
}

TEST(RepairBatchLines, PathsWithBlanksStandBetweenQuotationMarks) {
    EXPECT_EQ(RepairBatchLines(L"C:\\Archivos de programa\\Corvelan", L"D:\\Mis datos\\caja 2024.db", DumpCommand::Dump),
              (Lines{L"@echo off",
                     L"echo .dump | \"C:\\Archivos de programa\\Corvelan\\sqlite3.exe\" \"D:\\Mis datos\\caja 2024.db\" > "
                     L"\"D:\\Mis datos\\caja 2024.db.REPARAR_BD\"",
                     L"ren \"D:\\Mis datos\\caja 2024.db\" BD.DB.anterior",
                     L"\"C:\\Archivos de programa\\Corvelan\\sqlite3.exe\" -init \"D:\\Mis datos\\caja 2024.db.REPARAR_BD\" "
                     L"BD.db"}));
    // Only the path with the blank is quoted.
    EXPECT_EQ(RepairBatchLines(L"C:\\ARCANDORA", L"D:\\Mis datos\\BD.db", DumpCommand::Dump)[3],
              L"C:\\ARCANDORA\\sqlite3.exe -init \"D:\\Mis datos\\BD.db.REPARAR_BD\" BD.db");
}

TEST(RepairBatchLines, DamagedFileIsRecoveredInsteadOfDumped) {
    Lines dump = RepairBatchLines(L"C:\\ARCANDORA", L"C:\\ARCANDORA\\BD.db", DumpCommand::Dump);
    Lines recover = RepairBatchLines(L"C:\\ARCANDORA", L"C:\\ARCANDORA\\BD.db", DumpCommand::Recover);
    EXPECT_EQ(recover[1],
              L"echo .recover | C:\\ARCANDORA\\sqlite3.exe C:\\ARCANDORA\\BD.db > C:\\ARCANDORA\\BD.db.REPARAR_BD");
    EXPECT_EQ(recover[0], dump[0]);
    EXPECT_EQ(recover[2], dump[2]);
    EXPECT_EQ(recover[3], dump[3]);
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

TEST(AnsiSafePath, KeepsPathsTheCodePageHoldsAndShortensOrRefusesTheOthers) {
    EXPECT_EQ(AnsiSafePath(L"C:\\Año 2024\\BD.db"), std::optional<std::wstring>(L"C:\\Año 2024\\BD.db"));

    test::TempFolder folder;
    const std::wstring greek = folder / L"Καλημέρα.db";
    test::WriteBytes(greek, "x");
    // The short form names the same file and holds no letter outside the code page.
    auto safe = AnsiSafePath(greek);
    ASSERT_TRUE(safe.has_value());
    EXPECT_NE(*safe, greek);
    EXPECT_EQ(FromAnsi(ToAnsi(*safe)), *safe);
    EXPECT_EQ(test::ReadBytes(*safe), "x");
    // A file that does not exist has no short form to fall back on.
    EXPECT_EQ(AnsiSafePath(folder / L"Ωμέγα.db"), std::nullopt);
}

}  // namespace
}  // namespace arc::repair
