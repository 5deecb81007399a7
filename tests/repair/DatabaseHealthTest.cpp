// The health check on real files: sound, damaged, not a database, unreadable.
#include "repair/DatabaseHealth.h"

#include "LedgerFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace arc::repair {
namespace {

using test::TempFolder;

TEST(CheckDatabase, TellsSoundDamagedAndForeignFilesApart) {
    TempFolder folder;
    const std::wstring sound = folder / L"BD.db";
    test::MakeLedger(sound, 400, 3);
    EXPECT_EQ(CheckDatabase(sound), DatabaseHealth::Healthy);

    const std::wstring damaged = folder / L"dañado.db";
    test::MakeLedger(damaged, 2000);
    test::DamagePages(damaged, {5, 9});
    EXPECT_EQ(CheckDatabase(damaged), DatabaseHealth::Damaged);

    // A damaged schema page cannot even be prepared against.
    const std::wstring badSchema = folder / L"esquema.db";
    test::MakeLedger(badSchema, 50);
    std::string bytes = test::ReadBytes(badSchema);
    for (size_t i = 100; i < 4096; ++i) bytes[i] = static_cast<char>(0xEE);
    test::WriteBytes(badSchema, bytes);
    EXPECT_EQ(CheckDatabase(badSchema), DatabaseHealth::Damaged);

    const std::wstring text = folder / L"notas.txt";
    test::WriteBytes(text, "Cuentas de marzo\r\nLuz 40\r\nAgua 25\r\n");
    EXPECT_EQ(CheckDatabase(text), DatabaseHealth::NotADatabase);

    const std::wstring empty = folder / L"vacio.db";
    test::WriteBytes(empty, "");
    EXPECT_EQ(CheckDatabase(empty), DatabaseHealth::NotADatabase);

    EXPECT_EQ(CheckDatabase(folder / L"no existe.db"), DatabaseHealth::Unreadable);
    EXPECT_EQ(CheckDatabase(folder.Path()), DatabaseHealth::Unreadable);
}

TEST(CheckDatabase, LeavesTheFileAsItWas) {
    TempFolder folder;
    const std::wstring damaged = folder / L"BD.db";
    test::MakeLedger(damaged, 2000);
    test::DamagePages(damaged, {7});
    const std::string before = test::ReadBytes(damaged);
    ASSERT_EQ(CheckDatabase(damaged), DatabaseHealth::Damaged);
    EXPECT_EQ(test::ReadBytes(damaged), before);
    EXPECT_EQ(GetFileAttributesW((folder / L"BD.db-journal").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace arc::repair
