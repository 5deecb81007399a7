// Start-up, the database and the day view of the main window.
#include "LedgerFixture.h"
#include "support/LedgerTable.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"
#include "platform/window/Twips.h"

#include <commctrl.h>

#include <new>

namespace arc::test {
namespace {

const char kSchema[] =
    "CREATE TABLE FINANZAS (`ID` INTEGER PRIMARY KEY AUTOINCREMENT, `FECHA` TEXT, `DESCRIPCION` TEXT, "
    "`INGRESO` DOUBLE, `EGRESO` DOUBLE, `FECHA_OP` TEXT, `INGEGR` DOUBLE, ESTADO DOUBLE)";

// A ledger row written directly, the way the program would have stored it.
void AddRow(Sql& db, const std::string& fecha, const std::string& desc, double in, double out,
            const std::string& fechaOp) {
    char sql[512];
    std::snprintf(sql, sizeof sql,
                  "INSERT INTO FINANZAS (FECHA, DESCRIPCION, INGRESO, EGRESO, FECHA_OP, INGEGR, ESTADO) "
                  "VALUES ('%s', '%s', %.17g, %.17g, '%s', %.17g, "
                  "%.17g + COALESCE((SELECT SUM(INGEGR) FROM FINANZAS), 0))",
                  fecha.c_str(), desc.c_str(), in, out, fechaOp.c_str(), in - out, in - out);
    db.Exec(sql);
}

void CreateLedger(const std::wstring& file) {
    Sql db(file);
    db.Exec(ToUtf8(LedgerDatabase::kCreateTable));
}

using Spine = LedgerTest;

TEST_F(Spine, FirstStartCreatesTheFileWithExactlyTheSchema) {
    withBackupDrive = false;
    ASSERT_TRUE(Start());
    // No backup drive is set yet: the start says that no copy will be made.
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.find(L"No hay ninguna unidad para las copias de seguridad"), 0u);
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'FINANZAS'"), "1");
    EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "0");
    EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
    EXPECT_EQ(form->StatusColour(), RGB(0, 0, 255));
    EXPECT_EQ(form->ESTADO_MOD, 0);
    EXPECT_EQ(Text(Id::Text4), L"");
    EXPECT_EQ(Text(Id::Text5), L"");
    EXPECT_EQ(form->DataGrid1().RowCount(), 0);
    EXPECT_EQ(form->DataGrid1().ColumnCount(), 6);
    EXPECT_EQ(Text(Id::Label7), LongDate(DateSerial(2026, 12, 7), host.regional));
    EXPECT_FALSE(IsWindowVisible(form->Control(Id::Frame1)));
    EXPECT_EQ(form->FECHAR().DateTime(), DateSerial(2026, 12, 7));
    EXPECT_EQ(form->HASTA().DateTime(), DateSerial(2026, 12, 7));
    EXPECT_EQ(Focused(), L"Text1");
}

TEST_F(Spine, TheStoredSchemaTextIsTheStatementAsWritten) {
    ASSERT_TRUE(Start());
    // SQLite stores the statement without its "if NOT exists"; the rest must
    // match the statement byte for byte.
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT sql FROM sqlite_master WHERE name = 'FINANZAS'"), kSchema);
}

// Corvelan's tests make ledger files with a copy of the statement; it must not
// drift from the ledger's own.
TEST(LedgerTable, TheTestCopyIsTheLedgersOwnStatement) {
    EXPECT_EQ(ToUtf8(LedgerDatabase::kCreateTable), kLedgerTable);
}

TEST_F(Spine, AnExistingTableOfAnotherLayoutIsUsedUnchanged) {
    {
        Sql db(DbPath());
        db.Exec("CREATE TABLE FINANZAS (ID INTEGER PRIMARY KEY, FECHA TEXT, DESCRIPCION TEXT, INGRESO DOUBLE, "
                "EGRESO DOUBLE, FECHA_OP TEXT, INGEGR DOUBLE, ESTADO DOUBLE, NOTA TEXT)");
        db.Exec("INSERT INTO FINANZAS VALUES (7, '2026-12-01', 'VIEJO', 5, 0, '2026-12-07', 5, 5, 'x')");
    }
    ASSERT_TRUE(Start());
    Sql db(DbPath());
    EXPECT_NE(db.One("SELECT sql FROM sqlite_master WHERE name = 'FINANZAS'").find("NOTA TEXT"), std::string::npos);
    EXPECT_EQ(form->DataGrid1().RowCount(), 1);
    EXPECT_EQ(form->DataGrid1().CellText(0, 2), L"VIEJO");
}

TEST_F(Spine, TheDayViewListsWhatWasKeyedInTodayInEntryOrder) {
    CreateLedger(DbPath());
    {
        Sql db(DbPath());
        AddRow(db, "2026-11-15", "MES PASADO", 1500, 0, "2026-12-07");
        AddRow(db, "2026-12-07", "AYER", 10, 0, "2026-12-06");
        AddRow(db, "2026-12-01", "GASTO", 0, 1234.5, "2026-12-07");
        AddRow(db, "2026-12-07", "NEGATIVO", 0, 1000, "2026-12-07");
    }
    ASSERT_TRUE(Start());
    DataGrid& g = form->DataGrid1();
    ASSERT_EQ(g.RowCount(), 3);
    const wchar_t* headers[] = {L"ID", L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"ESTADO"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g.ColumnHeader(c), headers[c]);
    EXPECT_EQ(g.CellText(0, 2), L"MES PASADO");
    EXPECT_EQ(g.CellText(1, 2), L"GASTO");
    EXPECT_EQ(g.CellText(2, 2), L"NEGATIVO");
    // The hidden ID still carries the row's identity.
    EXPECT_EQ(g.ColumnWidth(0), 0);
    EXPECT_EQ(ListView_GetColumnWidth(g.Hwnd(), 0), 0);
    EXPECT_EQ(g.CellText(0, 0), L"1");
    EXPECT_EQ(g.CellText(2, 0), L"4");
    EXPECT_EQ(g.CellText(0, 1), L"2026-11-15");
    EXPECT_EQ(g.CellText(0, 3), L"1,500.");
    EXPECT_EQ(g.CellText(0, 4), L"0.");
    EXPECT_EQ(g.CellText(1, 4), L"1,234.5");
    EXPECT_EQ(g.CellText(1, 5), L"275.5");
    EXPECT_EQ(g.CellText(2, 5), L"-724.5");
    const int widths[] = {0, 1500, 5800, 1700, 1700, 1700};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g.ColumnWidth(c), widths[c]);
    EXPECT_EQ(g.RowHeightPixels(), TwipsToPixels(300, TwipsScale::Of(HWND{}).dpiY));
}

TEST_F(Spine, TheDayViewFollowsTheLocalesNumberFormat) {
    host.regional = RegionalFor(L"es-ES");
    CreateLedger(DbPath());
    {
        Sql db(DbPath());
        AddRow(db, "2026-12-07", "OFRENDA", 1234.5, 0, "2026-12-07");
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->DataGrid1().CellText(0, 3), L"1.234,5");
    EXPECT_EQ(form->DataGrid1().CellText(0, 4), L"0,");
}

TEST_F(Spine, BalancesAreRecomputedInEntryOrderAfterDeletionsAndGaps) {
    CreateLedger(DbPath());
    {
        Sql db(DbPath());
        AddRow(db, "2026-12-07", "A", 100, 0, "2026-12-07");
        AddRow(db, "2026-12-01", "B", 0, 30, "2026-12-07");
        AddRow(db, "2026-12-07", "C", 50, 0, "2026-12-07");
        AddRow(db, "2026-11-01", "D", 0, 5, "2026-12-07");
        db.Exec("DELETE FROM FINANZAS WHERE ID IN (1, 3)");
        AddRow(db, "2026-10-01", "E", 7, 0, "2026-12-07");
    }
    ASSERT_TRUE(Start());
    form->Database().CONEXION();
    form->Database().ACTUALIZAR_BD();
    Sql db(DbPath());
    EXPECT_EQ(db.Rows("SELECT ID, ESTADO FROM FINANZAS ORDER BY ID"),
              (std::vector<std::string>{"2|-30", "4|-35", "5|-28"}));
    // A deleted id is never given out again.
    db.Exec("INSERT INTO FINANZAS (ID) VALUES (NULL)");
    EXPECT_EQ(db.One("SELECT max(ID) FROM FINANZAS"), "6");
}

TEST_F(Spine, ANewConnectionLeavesTheEarlierRecordSetReadable) {
    CreateLedger(DbPath());
    {
        Sql db(DbPath());
        AddRow(db, "2026-12-07", "UNO", 1, 0, "2026-12-07");
    }
    ASSERT_TRUE(Start());
    auto earlier = form->WindowRecordset();
    auto firstConnection = form->Database().Connection();
    form->Database().CONEXION();
    form->Database().CONEXION();
    EXPECT_NE(form->Database().Connection(), firstConnection);
    EXPECT_EQ(earlier->At(0, 2).AsText(), L"UNO");
    EXPECT_EQ(form->DataGrid1().CellText(0, 2), L"UNO");
    form->Database().Execute(L"INSERT INTO FINANZAS (DESCRIPCION) VALUES ('DOS')");
    EXPECT_EQ(form->Database().OpenRecordset(L"SELECT count(*) AS N FROM FINANZAS")->Field(L"N").AsInteger(), 2);
}

TEST_F(Spine, SettingsFilesGiveTheirFirstLineOnly) {
    WriteBytes(folder / L"unidad.inf", "E\r\nF\r\n");
    WriteBytes(folder / L"entidad.inf", "Iglesia San Jos\xe9 y Ni\xf1os\r\nsegunda\r\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Text(Id::Text4), L"E");
    EXPECT_EQ(Text(Id::Text5), L"Iglesia San José y Niños");
}

TEST_F(Spine, EmptyOrMissingSettingsFilesGiveEmptyBoxes) {
    WriteBytes(folder / L"unidad.inf", "\r\nD\r\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Text(Id::Text4), L"");
    EXPECT_EQ(Text(Id::Text5), L"");
}

TEST_F(Spine, TheStatusColourFollowsTheCaption) {
    ASSERT_TRUE(Start());
    form->SetStatusCaption(L"Estado: Modificando...");
    EXPECT_EQ(form->StatusColour(), RGB(255, 0, 0));
    form->SetStatusCaption(L"Estado: modificando...");
    EXPECT_EQ(form->StatusColour(), RGB(0, 0, 255));
    form->SetStatusCaption(L"Estado: Modificando...");
    form->SetStatusCaption(L"Estado: Registrando...");
    EXPECT_EQ(form->StatusColour(), RGB(0, 0, 255));
}

TEST_F(Spine, AMissingInstallFolderEndsTheStartWithOneMessage) {
    host.installFolder = folder / L"no_existe";
    EXPECT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"'14'"), std::wstring::npos) << Narrow(host.messages[0].text);
    // What was being done in Spanish, then SQLite's own words.
    EXPECT_NE(host.messages[0].text.find(L"No se pudo abrir la base de datos " + host.installFolder +
                                         L"\\BD.db (SQLite: unable to open database file)"),
              std::wstring::npos)
        << Narrow(host.messages[0].text);
    // No window of this process was left behind.
    for (HWND w = FindWindowW(L"ArcandoraForm1", nullptr); w; w = FindWindowExW(nullptr, w, L"ArcandoraForm1", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        EXPECT_NE(pid, GetCurrentProcessId());
    }
}

// A ledger with rows and running balances, as the program would have made it.
void MakeLedgerWithRows(const std::wstring& file, int rows) {
    CreateLedger(file);
    Sql db(file);
    for (int i = 1; i <= rows; ++i) {
        char date[16];
        std::snprintf(date, sizeof date, "2026-11-%02d", i);
        AddRow(db, date, "FILA", 10.0 * i, 0, "2026-11-30");
    }
}

void SetWritten(const std::wstring& file, int year) {
    HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME st{static_cast<WORD>(year), 1, 0, 1, 12, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

// Sets the ledger aside as a repair does: its dump written first (in the
// year given), then the file renamed.
void SetAsideAfterDump(const std::wstring& folder, const wchar_t* name, int dumpYear) {
    WriteBytes(folder + L"\\BD.db.REPARAR_BD", "BEGIN TRANSACTION;\r\nCOMMIT;\r\n");
    SetWritten(folder + L"\\BD.db.REPARAR_BD", dumpYear);
    ASSERT_TRUE(MoveFileW((folder + L"\\BD.db").c_str(), (folder + L"\\" + name).c_str()));
}

// A repair cut between its two renames (its new file still there, or the
// ledger set aside after the repair's dump) left no BD.db: the start names
// the set-aside ledger and, on Yes, puts it back.
TEST_F(Spine, ARepairCutShortOffersToPutTheLedgerItSetAsideBack) {
    MakeLedgerWithRows(DbPath(), 3);
    SetAsideAfterDump(folder.Path(), L"BD.DB.anterior.1", 2020);
    ASSERT_TRUE(Start());
    ASSERT_EQ(host.messages.size(), 2u);
    const ShownMessage& question = host.messages[0];
    EXPECT_EQ(question.flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(question.text.find(L"No se encontró BD.db en " + folder.Path() +
                                 L": una reparación con Corvelan se interrumpió antes de terminar y dejó el libro "
                                 L"apartado como BD.DB.anterior.1. Tiene 3 movimientos; el último, del "),
              0u)
        << Narrow(question.text);
    EXPECT_NE(question.text.find(L"Sí: BD.DB.anterior.1 vuelve a ser BD.db.\r\nNo: elegir una copia de seguridad"),
              std::wstring::npos);
    EXPECT_EQ(host.messages[1].text, L"BD.DB.anterior.1 vuelve a ser BD.db.");
    EXPECT_FALSE(FileExists(folder / L"BD.DB.anterior.1"));
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "3");
}

// No answers "choose a backup": the chosen copy becomes BD.db; with none
// chosen the start stops and creates nothing.
TEST_F(Spine, ARepairCutShortOffersToRestoreACopyAndOtherwiseOpensNothing) {
    TempFolder copies;
    MakeLedgerWithRows(copies / L"261201120000-BD.DB", 2);
    MakeLedgerWithRows(DbPath(), 3);
    SetAsideAfterDump(folder.Path(), L"BD.DB.anterior", 2020);
    CreateLedger(folder / L"BD.db.REPARAR_NUEVO");

    host.answers = {IDNO};
    EXPECT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.dialogsShown, 1);
    EXPECT_EQ(host.messages[1].text.find(L"Arcandora no se abre, para no empezar un libro vacío en lugar de "
                                         L"BD.DB.anterior."),
              0u)
        << Narrow(host.messages[1].text);
    EXPECT_FALSE(FileExists(DbPath()));

    host.messages.clear();
    host.answers = {IDNO, IDYES};
    host.dialogAnswers = {copies / L"261201120000-BD.DB"};
    ASSERT_TRUE(Start());
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_NE(host.messages[1].text.find(L"La copia pasará a ser " + DbPath() + L"."), std::wstring::npos)
        << Narrow(host.messages[1].text);
    EXPECT_EQ(host.messages[2].text, L"Se restauró la copia 261201120000-BD.DB.");
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "2");
    EXPECT_TRUE(FileExists(folder / L"BD.DB.anterior")) << "the set-aside ledger stays as it was";
}

// A BD.db moved away on purpose (the only set-aside ledger is older than
// the last repair's dump) just gives a new empty book.
TEST_F(Spine, ABDdbMovedAwayOnPurposeGivesANewEmptyBook) {
    MakeLedgerWithRows(DbPath(), 3);
    SetAsideAfterDump(folder.Path(), L"BD.DB.anterior", 2040);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(host.messages.empty());
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "0");
}

// An empty BD.db (0 bytes, or FINANZAS without rows) beside a set-aside
// ledger holding rows is never opened silently: Yes puts the ledger back and
// keeps the empty file beside it; declining both opens the empty book.
TEST_F(Spine, AnEmptyBDdbBesideASetAsideLedgerOffersItBack) {
    MakeLedgerWithRows(folder / L"BD.DB.anterior", 4);
    WriteBytes(DbPath(), "");
    ASSERT_TRUE(Start());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text.find(L"BD.db en " + folder.Path() +
                                         L" no tiene ningún movimiento, pero a su lado está BD.DB.anterior, un libro "
                                         L"que apartó una reparación con Corvelan. Tiene 4 movimientos"),
              0u)
        << Narrow(host.messages[0].text);
    const std::wstring kept = folder / L"261207120000-ANTES-DE-DEVOLVER.DB";
    EXPECT_EQ(host.messages[1].text,
              L"BD.DB.anterior vuelve a ser BD.db.\r\n\r\nEl BD.db sin movimientos quedó guardado como " + kept + L".");
    EXPECT_EQ(ReadBytes(kept), "");
    EXPECT_EQ(form->DataGrid1().RowCount(), 0);  // keyed in before today
    {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "4");
    }

    form.reset();
    host.messages.clear();
    DeleteFileW(kept.c_str());
    ASSERT_TRUE(MoveFileW(DbPath().c_str(), (folder / L"BD.DB.anterior").c_str()));
    CreateLedger(DbPath());
    host.answers = {IDNO};
    ASSERT_TRUE(Start());
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.dialogsShown, 1);
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "0");
    EXPECT_TRUE(FileExists(folder / L"BD.DB.anterior"));
}

TEST_F(Spine, AFileThatIsNotADatabaseIsNeverTouched) {
    const std::string text = "Lista de compras: pan, leche, huevos.\r\n";
    WriteBytes(DbPath(), text);
    EXPECT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"'26'"), std::wstring::npos) << Narrow(host.messages[0].text);
    EXPECT_EQ(ReadBytes(DbPath()), text);
}

TEST_F(Spine, ADatabaseLockedLongerThanTheTimeoutEndsTheStart) {
    CreateLedger(DbPath());
    Sql other(DbPath());
    other.Exec("BEGIN EXCLUSIVE");
    EXPECT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"'5'"), std::wstring::npos) << Narrow(host.messages[0].text);
    EXPECT_NE(host.messages[0].text.find(L"No se pudo leer o escribir la base de datos"), std::wstring::npos);
    EXPECT_NE(host.messages[0].text.find(L"(SQLite: database is locked)"), std::wstring::npos);
    other.Exec("ROLLBACK");
}

// The controls Tab walks to from Text1, by their design names, until it
// comes back to Text1.
std::vector<std::wstring> TabWalk(Form1& form) {
    const std::pair<Id, const wchar_t*> named[] = {
        {Id::Text1, L"Text1"},       {Id::Text2, L"Text2"},       {Id::Text3, L"Text3"},     {Id::Text4, L"Text4"},
        {Id::Text5, L"Text5"},       {Id::Command1, L"Command1"}, {Id::Command2, L"Command2"},
        {Id::Command3, L"Command3"}, {Id::Command4, L"Command4"}, {Id::Command5, L"Command5"},
        {Id::Command6, L"Command6"}, {Id::Command7, L"Command7"}, {Id::DataGrid1, L"DataGrid1"},
        {Id::FECHAR, L"FECHAR"},     {Id::DESDE, L"DESDE"},       {Id::HASTA, L"HASTA"}};
    std::vector<std::wstring> walk;
    SetFocus(form.Control(Id::Text1));
    for (int i = 0; i < 30; ++i) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        if (!form.PreTranslate(tab)) break;
        std::wstring name = L"?";
        for (const auto& [id, n] : named)
            if (GetFocus() == form.Control(id) || IsChild(form.Control(id), GetFocus())) name = n;
        if (name == L"Text1") break;
        walk.push_back(name);
    }
    return walk;
}

TEST_F(Spine, TabFollowsTheDesignsTabIndexesWithThePanelShownOrHidden) {
    ASSERT_TRUE(Start());
    std::vector<std::wstring> hidden = {L"Text2",    L"Text3", L"Command2", L"Command1", L"DataGrid1", L"Command3",
                                        L"Command4", L"FECHAR", L"DESDE",   L"HASTA",    L"Command7"};
    EXPECT_EQ(TabWalk(*form), hidden);
    // Shown, the panel's controls take their own places: Command5 21,
    // Text4 22, Command6 24, then Command7 26 of the window, then Text5 27.
    ClickLabel(form->Control(Id::Label9));
    std::vector<std::wstring> shown = hidden;
    shown.insert(shown.end() - 1, {L"Command5", L"Text4", L"Command6"});
    shown.push_back(L"Text5");
    EXPECT_EQ(TabWalk(*form), shown);
    // Shift+Tab walks the same order back.
    SetFocus(form->Control(Id::Text5));
    MSG back{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(form->PreTranslate(back));
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), form->Control(Id::Command7));
}

// A failure that no handler expected (here inside the restore's file dialog)
// is shown with its own number and description, and the window goes on.
TEST_F(Spine, AnUnexpectedErrorShowsItsOwnNumberAndDescription) {
    ASSERT_TRUE(Start());
    int step = 0;
    host.duringDialog = [&] {
        if (++step == 1) throw RuntimeError(kErrPathNotFound, L"Path not found");
        throw std::bad_alloc();
    };
    SendMessageW(form->Hwnd(), WM_SYSCOMMAND, Form1::kRestoreCommand, 0);
    SendMessageW(form->Hwnd(), WM_SYSCOMMAND, Form1::kRestoreCommand, 0);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, RuntimeErrorText(kErrPathNotFound, L"Path not found"));
    EXPECT_EQ(host.messages[1].text, RuntimeErrorText(kErrOutOfMemory, L"Memoria insuficiente"));
    EXPECT_TRUE(IsWindowVisible(form->Hwnd()));
}

TEST_F(Spine, ClosingTheWindowDestroysIt) {
    ASSERT_TRUE(Start());
    HWND h = form->Hwnd();
    SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(h));
}

}  // namespace
}  // namespace arc::test
