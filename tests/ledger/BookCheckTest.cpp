// The self-check of the book at start and from the menu: what it finds in a
// ledger carried over from the old program, that nothing changes without
// Yes, the mend with its copy and its history entries; a sound ledger left
// untouched; and a repair made by Corvelan entered in the history once.
#include "LedgerFixture.h"

#include "ledger/History.h"
#include "ledger/LedgerSchema.h"
#include "platform/runtime/FolderFiles.h"
#include "platform/runtime/Text.h"

#include <cstdlib>

namespace arc::test {
namespace {

class BookCheckTest : public LedgerTest {
protected:
    BookCheckTest() : LedgerTest(L"es-ES") {}

    void Check() { form->RunCommand(static_cast<UINT>(Form1::Command::CheckBook)); }

    std::vector<std::string> Movements() {
        Sql db(DbPath());
        return db.Rows("SELECT ID, FECHA, quote(INGRESO), quote(EGRESO), quote(INGEGR), ESTADO FROM FINANZAS ORDER BY ID");
    }
    // The copies made before a mend, in the install folder (no backup drive).
    std::vector<std::wstring> Copies() { return FileNamesIn(folder.Path(), L"*-ANTES-DE-CORREGIR.DB"); }
};

// Row 2 keeps its amount as the old program wrote it ('1.000,50', which SQL
// sums as 1), row 3 its date as the user typed it, row 4 a wrong balance;
// row 5 holds an amount and row 6 a date that nothing can read.
TEST_F(BookCheckTest, FindsWhatIsWrongAndMendsItOnlyOnYesWithACheckedCopyAndItsHistory) {
    {
        Sql db(DbPath());
        db.Exec(ToUtf8(LedgerDatabase::kCreateTable));
        db.Exec("INSERT INTO FINANZAS VALUES (1, '2026-01-05', 'CUOTA', 100, 0, '2026-01-05', 100, 100), "
                "(2, '2026-02-05', 'DONATIVO', '1.000,50', 0, '2026-02-05', '1.000,50', 1100.5), "
                "(3, '30/06/2026', 'LUZ', 0, 30, '2026-06-30', -30, 1070.5), "
                "(4, '2026-07-01', 'RIFA', 12.5, 0, '2026-07-01', 12.5, 999), "
                "(5, '2026-07-02', 'SORTEO', 'mucho', 0, '2026-07-02', 0, 1083), "
                "(6, 'pronto', 'VARIOS', 5, 0, '2026-07-03', 5, 1088)");
    }
    const auto planted = Movements();

    // At start: said, offered, refused.
    host.answers = {IDNO};
    ASSERT_TRUE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    const std::wstring& said = host.messages[0].text;
    for (const wchar_t* part : {
             L"2 movimientos tienen importes guardados como texto, que se muestran de una forma y se suman de otra (ID 2 y 5).",
             L"1 de ellos no se lee como número (ID 5)",
             L"5 saldos (ESTADO) no son la suma de los importes hasta su fila (ID 2, 3, 4, 5 y 6).",
             L"2 fechas no se leen como AAAA-MM-DD (ID 3 y 6). Se escribirán así: ID 3, «30/06/2026» como 2026-06-30.",
             L"1 de ellas no se lee como fecha (ID 6): se quedan como están.",
             L"¿Corregirlo ahora? Antes se guardará una copia del libro, comprobada, en "})
        EXPECT_NE(said.find(part), std::wstring::npos) << Narrow(part) << "\nin: " << Narrow(said);
    EXPECT_EQ(Movements(), planted);
    EXPECT_TRUE(Copies().empty());

    // On demand, Yes: the copy first, then the mend.
    host.messages.clear();
    host.answers = {IDYES};
    Check();
    ASSERT_EQ(host.messages.size(), 2u);
    const auto copies = Copies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(host.messages[1].text,
              L"Libro corregido: 1 movimiento con los importes escritos como números, 1 fecha escrita como AAAA-MM-DD "
              L"y 1 saldo recalculado. El historial de cambios lo registra.\r\n\r\nEl libro de antes quedó guardado en " +
                  (folder / copies[0]) + L".");
    EXPECT_EQ(Movements(), (std::vector<std::string>{
                               "1|2026-01-05|100.0|0.0|100.0|100",
                               "2|2026-02-05|1000.5|0.0|1000.5|1100.5",
                               "3|2026-06-30|0.0|30.0|-30.0|1070.5",
                               "4|2026-07-01|12.5|0.0|12.5|1083",
                               "5|2026-07-02|'mucho'|0.0|0.0|1083",
                               "6|pronto|5.0|0.0|5.0|1088",
                           }));
    {
        Sql copy(folder / copies[0]);
        EXPECT_EQ(copy.Rows("SELECT ID, FECHA, quote(INGRESO), quote(EGRESO), quote(INGEGR), ESTADO FROM FINANZAS "
                            "ORDER BY ID"),
                  planted);
        Sql db(DbPath());
        EXPECT_EQ(db.Rows("SELECT OPERACION, ID, quote(INGRESO_ANTES), quote(INGRESO_DESPUES), FECHA_ANTES, "
                          "FECHA_DESPUES, NOTA FROM HISTORIAL WHERE NUM > 1 ORDER BY NUM"),
                  (std::vector<std::string>{
                      "MODIFICACION|2|'1.000,50'|1000.5|2026-02-05|2026-02-05|COMPROBACION=IMPORTES",
                      "MODIFICACION|3|0.0|0.0|30/06/2026|2026-06-30|COMPROBACION=FECHA",
                      "REPARACION|NULL|NULL|NULL|NULL|NULL|COMPROBACION;COPIA=" + Narrow(copies[0]) +
                          ";IMPORTES=1;FECHAS=1;SALDOS=1",
                  }));
    }
    // The history still matches the book, the old movements' opening included.
    EXPECT_TRUE(History::Verify(form->Database()).sound) << Narrow(History::Verify(form->Database()).text);

    // What is left can only be told.
    host.messages.clear();
    Check();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_NE(host.messages[0].text.find(L"No hay nada que Arcandora pueda corregir por sí mismo."), std::wstring::npos);
    EXPECT_EQ(host.messages[0].text.find(L"saldo"), std::wstring::npos);
}

TEST_F(BookCheckTest, ASoundLedgerIsLeftUntouchedAndSaysSoOnlyWhenAsked) {
    ASSERT_TRUE(Start());
    // Stored to 15 digits, the balances 0,3 and 109,8 differ from the running
    // sum in their last bits only.
    Register(L"0,1", L"", L"Rifa");
    Register(L"0,2", L"", L"Rifa");
    Register(L"150", L"", L"Ofrenda");
    Register(L"", L"40,5", L"Luz");
    Register(L"1.000,50", L"", L"Donativo");
    EXPECT_TRUE(host.messages.empty());
    const std::string before = ReadBytes(DbPath());
    Check();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, L"El libro está en orden: 5 movimientos comprobados (el archivo, los importes, "
                                     L"los saldos y las fechas).");
    EXPECT_EQ(ReadBytes(DbPath()), before);
    EXPECT_TRUE(Copies().empty());
}

// A damaged index leaves the day view working; the check tells the damage
// and offers nothing, since mending is Corvelan's matter.
TEST_F(BookCheckTest, ADamagedFileIsToldAndLeftToTheRepairTool) {
    {
        Sql db(DbPath());
        db.Exec(ToUtf8(LedgerDatabase::kCreateTable));
        db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) INSERT INTO FINANZAS "
                "SELECT NULL, date('2020-01-01', '+' || i || ' days'), 'MOVIMIENTO ' || i, 1, 0, '2026-01-01', 1, i FROM n");
        // The index on FECHA is built last: its pages end the file.
        db.Exec(ToUtf8(LedgerDatabase::kCreateIndexes));
    }
    std::string bytes = ReadBytes(DbPath());
    ASSERT_GT(bytes.size(), 3 * 4096u);
    for (size_t i = bytes.size() - 3 * 4096; i < bytes.size() - 2 * 4096; ++i) bytes[i] = 'x';
    WriteBytes(DbPath(), bytes);

    ASSERT_TRUE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(host.messages[0].text.rfind(L"El archivo del libro está dañado. La comprobación de SQLite dice: ", 0), 0u)
        << Narrow(host.messages[0].text);
    EXPECT_NE(host.messages[0].text.find(L"repare " + DbPath() + L" con Corvelan."), std::wstring::npos);
    EXPECT_EQ(ReadBytes(DbPath()).substr(bytes.size() - 3 * 4096, 4096), std::string(4096, 'x'));
    EXPECT_TRUE(Copies().empty());
}

// The note a repair leaves in the new database, as Corvelan's batch writes it.
void LeaveRepairNote(const std::wstring& file, const std::string& note) {
    Sql db(file);
    db.Exec("CREATE TABLE IF NOT EXISTS " + Narrow(kPendingRepairTable) + " (MOMENTO TEXT, NOTA TEXT); INSERT INTO " +
            Narrow(kPendingRepairTable) + " VALUES ('2026-12-06 18:30:00', '" + note + "')");
}

std::vector<std::string> RepairEntries(const std::wstring& file) {
    Sql db(file);
    return db.Rows("SELECT MOMENTO, NOTA FROM HISTORIAL WHERE OPERACION = 'REPARACION' ORDER BY NUM");
}

TEST_F(BookCheckTest, ARepairByCorvelanIsEnteredInTheHistoryOnceAtTheNextStart) {
    ASSERT_TRUE(Start());
    Register(L"150", L"", L"Ofrenda");
    Register(L"", L"40,5", L"Luz");
    form.reset();
    const std::string note =
        "ARCHIVO=BD.db;ANTERIOR=BD.DB.anterior;VOLCADO=BD.db.REPARAR_BD;MODO=VOLCADO;FILAS_ANTES=2;HISTORIAL_ANTES=3";
    LeaveRepairNote(DbPath(), note);

    ASSERT_TRUE(Start());
    const std::vector<std::string> entered = {"2026-12-07 12:00:00|REPARADO=2026-12-06 18:30:00;" + note +
                                              ";FILAS=2;HISTORIAL=3"};
    EXPECT_EQ(RepairEntries(DbPath()), entered);
    {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT count(*) FROM sqlite_master WHERE name = 'REPARACION_PENDIENTE'"), "0");
    }
    EXPECT_TRUE(History::Verify(form->Database()).sound);
    EXPECT_TRUE(host.messages.empty());
    form.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(RepairEntries(DbPath()), entered);
}

// The same for the ledger that Corvelan's batch really repaired
// (tests/repair/repair_end_to_end.sh names it).
TEST_F(BookCheckTest, ALedgerRepairedByTheBatchGetsItsEntryOnce) {
    const char* repaired = std::getenv("ARC_REPAIRED_LEDGER");
    if (!repaired) GTEST_SKIP() << "run by repair_end_to_end.sh";
    ASSERT_TRUE(CopyFileW(FromUtf8(repaired).c_str(), DbPath().c_str(), FALSE));
    ASSERT_TRUE(Start());
    const auto entries = RepairEntries(DbPath());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("|REPARADO="), std::string::npos) << entries[0];
    EXPECT_NE(entries[0].find(";ARCHIVO=BD.db;ANTERIOR=BD.DB.anterior;VOLCADO=BD.db.REPARAR_BD;MODO=VOLCADO;"),
              std::string::npos)
        << entries[0];
    form.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(RepairEntries(DbPath()), entries);
    std::printf("repaired ledger: %s\n", entries[0].c_str());
}

}  // namespace
}  // namespace arc::test
