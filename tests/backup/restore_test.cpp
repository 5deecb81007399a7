// "Restaurar una copia de seguridad..." of the system menu: the dialog in
// the backup folder, the read-only check and description of the chosen copy,
// the copy of the ledger kept before replacing it, and a ledger left exactly
// as it was on No, on a file that is no ledger copy and on a failure.
#include "BackupFixture.h"

#include "platform/data/Connection.h"
#include "platform/data/OnlineBackup.h"
#include "platform/runtime/TextFile.h"
#include "support/DayViewDenied.h"

#include <commctrl.h>

namespace arc::test {
namespace {

class Restore : public DriveTest {
protected:
    void SetUp() override {
        DriveTest::SetUp();
        if (IsSkipped()) return;
        CreateDirectoryW(backupFolder.c_str(), nullptr);
        // The copy: three movements, the last keyed in on 1 December 2026.
        AddRows(install, 3, L"2026-12-01");
        copy = backupFolder + L"\\261201100000-BD.DB";
        data::CopyDatabase(install + L"\\BD.db", copy, 1000);
        // The ledger then grows well past it, so the restore must shrink the file.
        AddRows(install, 2000);
        form = OpenForm(host);
        SetBoxText(form->Control(Id::Text4), L"Q");
        liveBefore = ReadBytes(live());
        host.messages.clear();
    }

    std::wstring live() const { return install + L"\\BD.db"; }
    void Choose(const std::wstring& file) {
        host.dialogAnswers.push_back(file);
        SendMessageW(form->Hwnd(), WM_SYSCOMMAND, Form1::kRestoreCommand, 0);
    }
    // The day view's rows, as the grid shows them.
    int GridRows() { return static_cast<int>(SendMessageW(form->DataGrid1().Hwnd(), LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring copy;
    std::string liveBefore;
    std::unique_ptr<Form1> form;
};

TEST_F(Restore, TheSystemMenuCarriesTheCommand) {
    wchar_t text[64] = {};
    GetMenuStringW(GetSystemMenu(form->Hwnd(), FALSE), Form1::kRestoreCommand, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Restaurar una copia de seguridad...");
}

TEST_F(Restore, YesPutsExactlyTheCopysRowsInPlaceAndKeepsThePreviousLedger) {
    const auto copyRows = RowsOf(copy);
    const auto previousRows = RowsOf(live());
    EXPECT_EQ(GridRows(), 2000);  // today's movements
    host.answers = {IDYES, IDOK};
    Choose(copy);

    EXPECT_EQ(host.dialogFolders, std::vector<std::wstring>{backupFolder});
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(host.messages[0].text,
              L"¿Restaurar la copia de seguridad 261201100000-BD.DB?\r\n\r\n"
              L"Tiene 3 movimientos; el último, del Tuesday, December 1, 2026, deja un fondo de 30.00.\r\n\r\n"
              L"Antes se guardará la base de datos actual en Q:\\BACKUP_ARCANDORA, y después se reemplazará por "
              L"esta copia.");
    EXPECT_EQ(RowsOf(live()), copyRows);
    const std::wstring before = backupFolder + L"\\261206143005-ANTES-DE-RESTAURAR.DB";
    EXPECT_EQ(RowsOf(before), previousRows);
    EXPECT_NE(host.messages[1].text.find(before), std::wstring::npos) << host.messages[1].text;
    // The day view shows the restored ledger: none of its movements is today's.
    EXPECT_EQ(GridRows(), 0);
    // Its history (begun now: the copy had none) says it was restored.
    auto history = std::make_shared<data::Recordset>();
    history->ActiveConnection = data::Connection::OpenReadOnly(live(), 1000);
    history->Open(L"SELECT group_concat(OPERACION || ' ' || coalesce(NOTA, ''), ' / ') FROM (SELECT * FROM "
                  L"HISTORIAL ORDER BY NUM)");
    const std::wstring entries = history->Field(size_t{0}).AsText();
    EXPECT_EQ(entries.substr(entries.find(L"RESTAURACION")),
              L"RESTAURACION COPIA=261201100000-BD.DB;ANTERIOR=261206143005-ANTES-DE-RESTAURAR.DB;FILAS=3");
    EXPECT_EQ(entries.rfind(L"APERTURA FILAS=3;", 0), 0u);
    // And the program goes on writing to it.
    AddRows(install, 1);
    EXPECT_EQ(RowsOf(live()).size(), 4u);
}

TEST_F(Restore, NoABadFileOrACancelledDialogChangeNothing) {
    WriteBytes(backupFolder + L"\\texto-BD.DB", "esto no es una base de datos, solo texto\r\n");
    {
        auto other = data::Connection::Open(L"DRIVER=SQLite3 ODBC Driver;Database=" + backupFolder + L"\\otra.db;");
        other->Execute(L"CREATE TABLE FINANZAS (ID INTEGER PRIMARY KEY, FECHA TEXT)");
    }
    std::string damaged = ReadBytes(live());
    for (size_t i = 8 * 4096; i < 10 * 4096; ++i) damaged[i] = static_cast<char>(0x5A);
    WriteBytes(backupFolder + L"\\danada-BD.DB", damaged);

    const struct {
        std::wstring file;
        int answer;
        std::wstring says;
    } cases[] = {
        {copy, IDNO, L"¿Restaurar la copia de seguridad 261201100000-BD.DB?"},
        {backupFolder + L"\\texto-BD.DB", IDOK, L"no es una base de datos"},
        {backupFolder + L"\\otra.db", IDOK, L"no tiene la tabla FINANZAS del libro de caja"},
        {backupFolder + L"\\danada-BD.DB", IDOK, L"está dañado"},
        {live(), IDOK, L"es la base de datos en uso"},
        {L"", IDOK, L""},  // the dialog closed without a choice
    };
    for (const auto& c : cases) {
        host.messages.clear();
        host.answers = {c.answer};
        Choose(c.file);
        if (c.says.empty()) {
            EXPECT_TRUE(host.messages.empty());
        } else {
            ASSERT_EQ(host.messages.size(), 1u) << c.file;
            EXPECT_NE(host.messages[0].text.find(c.says), std::wstring::npos) << host.messages[0].text;
            if (c.answer == IDOK) {
                EXPECT_NE(host.messages[0].text.find(L"No se ha cambiado nada."), std::wstring::npos);
            }
        }
        EXPECT_EQ(ReadBytes(live()), liveBefore) << c.file;
        EXPECT_TRUE(FilesIn(backupFolder, L"*-ANTES-DE-RESTAURAR.DB").empty()) << c.file;
    }
    EXPECT_EQ(GridRows(), 2000);
}

// The copy is in place even when the day view cannot show it: the message
// says it was restored and where the previous ledger is.
TEST_F(Restore, ARestoreWhoseRefreshFailsIsToldAsDone) {
    host.answers = {IDYES, IDOK};
    {
        DayViewDenied denied;
        Choose(copy);
    }
    ASSERT_EQ(host.messages.size(), 2u);
    const std::wstring& told = host.messages[1].text;
    EXPECT_EQ(told.rfind(L"Se restauró la copia 261201100000-BD.DB.", 0), 0u) << told;
    EXPECT_NE(told.find(L"261206143005-ANTES-DE-RESTAURAR.DB"), std::wstring::npos) << told;
    EXPECT_NE(told.find(L"La lista del día no se pudo actualizar"), std::wstring::npos) << told;
    EXPECT_EQ(RowsOf(live()).size(), 3u);
}

TEST_F(Restore, AFailedReplaceLeavesTheLedgerAsItWas) {
    // Another program is writing the ledger and keeps its lock.
    auto writer = data::Connection::Open(LedgerDatabase::ConnectionString(install));
    writer->Execute(L"BEGIN IMMEDIATE");
    host.answers = {IDYES, IDOK};
    Choose(copy);
    writer->Execute(L"ROLLBACK");
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find(L"No se pudo restaurar la copia"), std::wstring::npos)
        << host.messages[1].text;
    EXPECT_NE(host.messages[1].text.find(L"No se ha cambiado nada."), std::wstring::npos);
    EXPECT_EQ(ReadBytes(live()), liveBefore);
    EXPECT_TRUE(FilesIn(backupFolder, L"*-ANTES-DE-RESTAURAR.DB").empty());
}

}  // namespace
}  // namespace arc::test
