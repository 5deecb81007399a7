// The health check on real files: sound, damaged, crashed, not a ledger, not
// a database, unreadable.
#include "repair/DatabaseHealth.h"

#include "LedgerFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace arc::repair {
namespace {

using test::TempFolder;

TEST(CheckLedger, TellsSoundDamagedAndForeignFilesApart) {
    TempFolder folder;
    const std::wstring sound = folder / L"BD.db";
    test::MakeLedger(sound, 400, 3);
    LedgerCheck check = CheckLedger(sound);
    EXPECT_EQ(check.health, DatabaseHealth::Healthy);
    EXPECT_EQ(check.rows, 400 - 133);
    EXPECT_FALSE(check.hotJournal);
    // No history yet: none to count; then its entries are counted too.
    EXPECT_EQ(check.historyRows, std::nullopt);
    EXPECT_FALSE(check.historyUncounted);
    test::MakeDatabase(sound, "CREATE TABLE HISTORIAL (NUM INTEGER PRIMARY KEY, NOTA TEXT); "
                              "INSERT INTO HISTORIAL (NOTA) VALUES ('APERTURA'), ('ALTA'), ('BAJA')");
    EXPECT_EQ(CheckLedger(sound).historyRows, 3);
    // A damaged page in the middle of the history stops its count, not the
    // reading of its last number.
    const std::wstring lostHistory = folder / L"historia.db";
    test::MakeLedger(lostHistory, 50);
    test::MakeDatabase(lostHistory, "CREATE TABLE HISTORIAL (NUM INTEGER PRIMARY KEY, NOTA TEXT); "
                                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                                    "INSERT INTO HISTORIAL (NOTA) SELECT hex(randomblob(50)) FROM n");
    const int pages = static_cast<int>(test::ReadBytes(lostHistory).size() / 4096);
    test::DamagePages(lostHistory, {pages - 10});
    check = CheckLedger(lostHistory);
    EXPECT_EQ(check.health, DatabaseHealth::Damaged);
    EXPECT_EQ(check.rows, 50);
    EXPECT_EQ(check.historyRows, 2000);

    const std::wstring damaged = folder / L"dañado.db";
    test::MakeLedger(damaged, 2000);
    test::DamagePages(damaged, {5, 9});
    EXPECT_EQ(CheckLedger(damaged).health, DatabaseHealth::Damaged);

    // A damaged schema page cannot even be prepared against: nothing to count.
    const std::wstring badSchema = folder / L"esquema.db";
    test::MakeLedger(badSchema, 50);
    std::string bytes = test::ReadBytes(badSchema);
    for (size_t i = 100; i < 4096; ++i) bytes[i] = static_cast<char>(0xEE);
    test::WriteBytes(badSchema, bytes);
    check = CheckLedger(badSchema);
    EXPECT_EQ(check.health, DatabaseHealth::Damaged);
    EXPECT_EQ(check.rows, std::nullopt);
    EXPECT_TRUE(check.historyUncounted);

    const std::wstring other = folder / L"agenda.db";
    test::MakeDatabase(other, "CREATE TABLE CONTACTOS (NOMBRE TEXT); INSERT INTO CONTACTOS VALUES ('ANA')");
    EXPECT_EQ(CheckLedger(other).health, DatabaseHealth::NotALedger);

    const std::wstring text = folder / L"notas.txt";
    test::WriteBytes(text, "Cuentas de marzo\r\nLuz 40\r\nAgua 25\r\n");
    EXPECT_EQ(CheckLedger(text).health, DatabaseHealth::NotADatabase);

    const std::wstring empty = folder / L"vacio.db";
    test::WriteBytes(empty, "");
    EXPECT_EQ(CheckLedger(empty).health, DatabaseHealth::NotADatabase);

    EXPECT_EQ(CheckLedger(folder / L"no existe.db").health, DatabaseHealth::Unreadable);
    EXPECT_EQ(CheckLedger(folder.Path()).health, DatabaseHealth::Unreadable);
}

TEST(CheckLedger, LeavesTheFileAsItWas) {
    TempFolder folder;
    const std::wstring damaged = folder / L"BD.db";
    test::MakeLedger(damaged, 2000);
    test::DamagePages(damaged, {7});
    const std::string before = test::ReadBytes(damaged);
    ASSERT_EQ(CheckLedger(damaged).health, DatabaseHealth::Damaged);
    EXPECT_EQ(test::ReadBytes(damaged), before);
    EXPECT_EQ(GetFileAttributesW(JournalOf(damaged).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(CheckLedger, CrashedLedgerIsCheckedRolledBackOnACopyOfThePair) {
    TempFolder folder;
    const std::wstring crashed = folder / L"BD.db";
    test::MakeCrashedLedger(crashed, 3000);
    const std::string file = test::ReadBytes(crashed), journal = test::ReadBytes(JournalOf(crashed));
    ASSERT_FALSE(journal.empty());

    const LedgerCheck check = CheckLedger(crashed);
    EXPECT_EQ(check.health, DatabaseHealth::Healthy);
    EXPECT_TRUE(check.hotJournal);
    EXPECT_EQ(check.rows, 3000);
    // The pair is only read; the copy is gone.
    EXPECT_EQ(test::ReadBytes(crashed), file);
    EXPECT_EQ(test::ReadBytes(JournalOf(crashed)), journal);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((std::wstring(temp) + L"cor*.tmp*").c_str(), &found);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "left in the temporary folder";
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

}  // namespace
}  // namespace arc::repair
