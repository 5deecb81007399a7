// Selecting a movement in the grid, modifying and deleting it, and the
// entry reset, with every balance checked against the running sum.
#include "LedgerFixture.h"

#include "platform/runtime/DateValue.h"

#include <commctrl.h>

namespace arc::test {
namespace {

class ModifyDelete : public LedgerTest {
protected:
    ModifyDelete(const wchar_t* locale = L"en-US") : LedgerTest(locale) {}

    // Three movements: +1000, -250.5, +12.5.
    void StartWithThreeRows() {
        ASSERT_TRUE(Start());
        Register(L"1000", L"", L"primero");
        Register(L"", L"250.5", L"segundo");
        Register(L"12.5", L"", L"tercero");
        ASSERT_EQ(form->DataGrid1().RowCount(), 3);
    }

    // Every ESTADO equals the running sum of INGEGR in entry order.
    void ExpectConsistentBalances() {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS f WHERE ESTADO IS NOT "
                         "(SELECT SUM(INGEGR) FROM FINANZAS g WHERE g.ID <= f.ID)"),
                  "0");
    }

    std::vector<std::string> Amounts() {
        Sql db(DbPath());
        return db.Rows("SELECT ID, INGRESO, EGRESO, INGEGR, ESTADO FROM FINANZAS ORDER BY ID");
    }

    void ClickGrid() {
        const UINT_PTR id = static_cast<UINT_PTR>(Id::DataGrid1);
        NMHDR n{form->DataGrid1().Hwnd(), id, static_cast<UINT>(NM_CLICK)};
        SendMessageW(form->Hwnd(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&n));
    }

    void PumpFor(DWORD ms) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            Pump();
            Sleep(10);
        }
    }

    void ExpectEntryReset() {
        EXPECT_EQ(form->ESTADO_MOD, 0);
        EXPECT_EQ(Text(Id::Text1), L"");
        EXPECT_EQ(Text(Id::Text2), L"");
        EXPECT_EQ(Text(Id::Text3), L"");
        EXPECT_EQ(form->FECHAR().DateTime(), DateSerial(2026, 12, 7));
        EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
        EXPECT_EQ(form->StatusColour(), RGB(0, 0, 255));
        EXPECT_EQ(Focused(), L"Text1");
    }
};

class ModifyDeleteEs : public ModifyDelete {
protected:
    ModifyDeleteEs() : ModifyDelete(L"es-ES") {}
};

const wchar_t kNotModifying[] =
    L"El estado no es ''Modificando...'' Haga clic en un registro y luego intente de nuevo.";

TEST_F(ModifyDelete, ALoadedRowFillsTheEntryFieldsAndTurnsTheStateRed) {
    ASSERT_TRUE(Start());
    {
        Sql db(DbPath());
        db.Exec("INSERT INTO FINANZAS VALUES (40000, '2026-01-05', 'OFRENDA', 1500, 0, '2026-12-07', 1500, 1500)");
    }
    form->MOSTRAR();
    SelectRow(0);
    EXPECT_EQ(Text(Id::Text1), L"1500");
    EXPECT_EQ(Text(Id::Text2), L"0");
    EXPECT_EQ(Text(Id::Text3), L"OFRENDA");
    DWORD from = 0, to = 0;
    SendMessageW(form->Control(Id::Text3), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 7u);
    EXPECT_EQ(Focused(), L"Text3");
    EXPECT_EQ(form->FECHAR().DateTime(), DateSerial(2026, 1, 5));
    EXPECT_EQ(form->ESTADO_MOD, 40000);  // beyond a 16-bit id
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(form->StatusColour(), RGB(255, 0, 0));
}

TEST_F(ModifyDelete, AClickLoadsAfterTheTimerAndAKeyAtOnceButArrowsNever) {
    StartWithThreeRows();
    form->DataGrid1().SetRow(1);
    ClickGrid();
    EXPECT_TRUE(form->Timer2Armed());
    EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
    PumpFor(400);
    EXPECT_FALSE(form->Timer2Armed());
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(Text(Id::Text2), L"250.5");
    form->EntryReset();

    HWND grid = form->DataGrid1().Hwnd();
    SetFocus(grid);
    for (WPARAM key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR}) {
        PostMessageW(grid, WM_KEYDOWN, key, 1);
        PostMessageW(grid, WM_KEYUP, key, 0xC0000001);
    }
    PumpFor(50);
    EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
    EXPECT_EQ(Text(Id::Text3), L"");
    form->DataGrid1().SetRow(2);
    SetFocus(grid);
    PostMessageW(grid, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(grid, WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpFor(50);
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(Text(Id::Text3), L"TERCERO");
    EXPECT_EQ(form->DefaultButton(), ControlId(Id::Command2));
}

TEST_F(ModifyDelete, ZeroAndNegativeRowsLoadAsThemselvesAndConfirmingKeepsThem) {
    ASSERT_TRUE(Start());
    Register(L"150", L"", L"ingreso");
    Type(Id::Text1, L"150");
    SendMessageW(form->Control(Id::Text1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"cero"));
    Click(Id::Command2);
    Register(L"-5", L"0", L"negativo");
    const auto before = Amounts();
    ASSERT_EQ(before, (std::vector<std::string>{"1|150|0|150|150", "2|0|0|0|150", "3|-5|0|0|150"}));
    for (int row : {1, 2}) {
        SelectRow(0);  // the income row first: nothing of it may stay
        SelectRow(row);
        EXPECT_EQ(Text(Id::Text1), row == 1 ? L"0" : L"-5");
        EXPECT_EQ(Text(Id::Text2), L"0");
        Click(Id::Command4);
        EXPECT_EQ(Amounts(), before);
        ExpectEntryReset();
    }
}

TEST_F(ModifyDelete, ARowWhoseDateCannotBeReadIsRefusedAndLeavesNothingBehind) {
    ASSERT_TRUE(Start());
    Register(L"150", L"", L"bueno");
    {
        Sql db(DbPath());
        db.Exec("INSERT INTO FINANZAS VALUES (NULL, 'mañana', 'MALO', 0, 40, '2026-12-07', -40, 110)");
    }
    form->MOSTRAR();
    SelectRow(0);
    SelectRow(1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              L"La fecha ''mañana'' de este registro no se puede leer como una fecha; el registro no se ha cargado.");
    ExpectEntryReset();
}

TEST_F(ModifyDelete, EveryRefreshStartsTheDayViewAfresh) {
    ASSERT_TRUE(Start());
    {
        Sql db(DbPath());
        for (int i = 1; i <= 40; ++i)
            db.Exec("INSERT INTO FINANZAS VALUES (NULL, '2026-12-07', 'FILA', " + std::to_string(i) +
                    ", 0, '2026-12-07', " + std::to_string(i) + ", 0)");
    }
    form->MOSTRAR();
    SelectRow(39);
    HWND grid = form->DataGrid1().Hwnd();
    ASSERT_GT(ListView_GetTopIndex(grid), 0);
    Click(Id::Command3);  // deletes row 40 and refreshes
    ASSERT_EQ(form->DataGrid1().RowCount(), 39);
    EXPECT_EQ(form->DataGrid1().Row(), -1);
    EXPECT_EQ(ListView_GetTopIndex(grid), 0);
    SetFocus(grid);
    SendMessageW(grid, WM_CHAR, L' ', 1);
    Pump();
    EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
    EXPECT_EQ(Text(Id::Text3), L"");
}

TEST_F(ModifyDelete, AFailingKeyPressIsShownWithItsOwnNumberAndText) {
    ASSERT_TRUE(Start());
    form->DataGrid1().OnKeyPress = [](wchar_t) { throw RuntimeError(3021, L"Either BOF or EOF is True"); };
    SetFocus(form->DataGrid1().Hwnd());
    SendMessageW(form->DataGrid1().Hwnd(), WM_CHAR, L'a', 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, RuntimeErrorText(3021, L"Either BOF or EOF is True"));
}

TEST_F(ModifyDelete, LoadingWithoutARowDoesNothing) {
    ASSERT_TRUE(Start());
    form->RowLoadingStep();
    SetFocus(form->DataGrid1().Hwnd());
    SendMessageW(form->DataGrid1().Hwnd(), WM_CHAR, L'a', 1);
    EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
    EXPECT_EQ(form->ESTADO_MOD, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ModifyDelete, ModifyingWithoutRetypingKeepsTheAmountsDecimals) {
    StartWithThreeRows();
    SelectRow(2);
    EXPECT_EQ(Text(Id::Text1), L"12.5");
    Click(Id::Command4);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              L"CUIDADO: Está a punto de modificar el registro del 12/7/2026, ''TERCERO'', ingreso de 12.50.\r\n"
              L"Quedará así: del 12/7/2026, ''TERCERO'', ingreso de 12.50.\r\n¿REALMENTE DESEA MODIFICAR EL REGISTRO?");
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
    EXPECT_EQ(Amounts().back(), "3|12.5|0|12.5|762");
    ExpectEntryReset();
}

TEST_F(ModifyDelete, ModifyingTheFirstMiddleAndLastRowsRecomputesEveryBalance) {
    StartWithThreeRows();
    SelectRow(0);
    SendMessageW(form->Control(Id::Text1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2,000"));
    Click(Id::Command4);
    EXPECT_EQ(Amounts(), (std::vector<std::string>{"1|2000|0|2000|2000", "2|0|250.5|-250.5|1749.5",
                                                   "3|12.5|0|12.5|1762"}));
    SelectRow(1);
    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"100"));
    form->FECHAR().SetDateTime(DateSerial(2025, 6, 1));
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Doña 'Ana'\r\nluz"));
    Click(Id::Command4);
    // The question names the movement as it is and as it will be.
    EXPECT_EQ(host.messages.back().text,
              L"CUIDADO: Está a punto de modificar el registro del 12/7/2026, ''SEGUNDO'', egreso de 250.50.\r\n"
              L"Quedará así: del 6/1/2025, ''Doña 'Ana' luz'', egreso de 100.00.\r\n¿REALMENTE DESEA MODIFICAR EL "
              L"REGISTRO?");
    EXPECT_EQ(Amounts()[1], "2|0|100|-100|1900");
    {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT FECHA || '|' || DESCRIPCION || '|' || FECHA_OP FROM FINANZAS WHERE ID = 2"),
                  "2025-06-01|Doña 'Ana'\r\nluz|2026-12-07");
    }
    SelectRow(2);
    // An income turned into an expense: the income box goes to 0 by itself.
    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"7.25"));
    EXPECT_EQ(Text(Id::Text1), L"0");
    Click(Id::Command4);
    EXPECT_EQ(Amounts()[2], "3|0|7.25|-7.25|1892.75");
    ExpectConsistentBalances();
    EXPECT_EQ(form->DataGrid1().CellText(2, 5), L"1,892.75");
}

TEST_F(ModifyDelete, DeletingTheFirstMiddleAndLastRowsRecomputesEveryBalance) {
    StartWithThreeRows();
    Register(L"5", L"", L"cuarto");
    SelectRow(0);
    Click(Id::Command3);
    EXPECT_EQ(host.messages.back().text, L"CUIDADO: Está a punto de eliminar el registro del 12/7/2026, ''PRIMERO'', "
                                         L"ingreso de 1,000.00.\r\n¿REALMENTE DESEA ELIMINAR EL REGISTRO?");
    EXPECT_EQ(Amounts(), (std::vector<std::string>{"2|0|250.5|-250.5|-250.5", "3|12.5|0|12.5|-238",
                                                   "4|5|0|5|-233"}));
    ExpectEntryReset();
    SelectRow(1);
    Click(Id::Command3);
    SelectRow(1);
    Click(Id::Command3);
    EXPECT_EQ(Amounts(), std::vector<std::string>{"2|0|250.5|-250.5|-250.5"});
    EXPECT_EQ(form->DataGrid1().RowCount(), 1);
    ExpectConsistentBalances();
}

// A correction saved whose refresh then fails says it was saved and leaves
// nothing in the entry fields that Enter could register again.
TEST_F(ModifyDelete, ASavedCorrectionWhoseRefreshFailsCannotBeRegisteredAgain) {
    StartWithThreeRows();
    for (bool remove : {false, true}) {
        SelectRow(0);
        SetBoxText(form->Control(Id::Text1), L"999");
        {
            DayViewDenied denied;
            Click(remove ? Id::Command3 : Id::Command4);
        }
        EXPECT_EQ(host.messages.back().text.rfind(L"El cambio quedó guardado", 0), 0u) << Narrow(host.messages.back().text);
        ExpectEntryReset();
        Click(Id::Command2);  // Enter: nothing to register
        form->MOSTRAR();
    }
    EXPECT_EQ(Amounts(), (std::vector<std::string>{"2|0|250.5|-250.5|-250.5", "3|12.5|0|12.5|-238"}));
    ExpectConsistentBalances();
}

TEST_F(ModifyDelete, AnsweringNoChangesNothing) {
    StartWithThreeRows();
    SelectRow(1);
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"cambiado"));
    auto before = Amounts();
    host.answers = {IDNO, IDNO};
    Click(Id::Command4);
    Click(Id::Command3);
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(Text(Id::Text3), L"cambiado");
    EXPECT_EQ(Text(Id::Text2), L"250.5");
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(form->ESTADO_MOD, 2);
}

TEST_F(ModifyDelete, ConfirmingWhileRegisteringShowsTheStateAndClearsTheEntry) {
    StartWithThreeRows();
    auto before = Amounts();
    for (Id button : {Id::Command4, Id::Command3}) {
        host.messages.clear();
        Type(Id::Text1, L"99");
        form->FECHAR().SetDateTime(DateSerial(2020, 1, 1));
        Click(button);
        ASSERT_EQ(host.messages.size(), 2u);
        EXPECT_EQ(host.messages[1].text, kNotModifying);
        EXPECT_EQ(host.messages[1].flags, static_cast<UINT>(MB_OK));
        EXPECT_EQ(Amounts(), before);
        ExpectEntryReset();
    }
}

TEST_F(ModifyDelete, BothAmountsZeroWritesNothingButResets) {
    StartWithThreeRows();
    SelectRow(0);
    SendMessageW(form->Control(Id::Text1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    auto before = Amounts();
    Click(Id::Command4);
    EXPECT_EQ(Amounts(), before);
    ExpectEntryReset();
}

TEST_F(ModifyDelete, AnEmptyOrMisgroupedAmountStopsTheModificationBeforeAnyWrite) {
    StartWithThreeRows();
    SelectRow(0);
    SendMessageW(form->Control(Id::Text1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3000"));
    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    auto before = Amounts();
    Click(Id::Command4);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text.rfind(L"Hay este error > ''", 0), 0u);
    EXPECT_NE(host.messages[1].text.find(L"''. Es probable que ya no exista el registro que usted está intentando "
                                         L"modificar."),
              std::wstring::npos);
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(form->ESTADO_MOD, 1);
    EXPECT_EQ(Focused(), L"Text1");

    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1,000,5"));
    Click(Id::Command4);
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[3].text.rfind(L"El importe ''1,000,5'' de Egreso no se puede leer", 0), 0u);
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(Focused(), L"Text2");
}

TEST_F(ModifyDelete, ALockedDatabaseDuringModifyOrDeleteChangesNothing) {
    StartWithThreeRows();
    SelectRow(1);
    auto before = Amounts();
    {
        Sql other(DbPath());
        other.Exec("BEGIN EXCLUSIVE");
        Click(Id::Command4);
        Click(Id::Command3);
        other.Exec("ROLLBACK");
    }
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[1].text.rfind(L"Hay este error > ''", 0), 0u);
    EXPECT_EQ(host.messages[3].text.rfind(L"Hay este error > ''", 0), 0u);
    EXPECT_EQ(Amounts(), before);
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(Text(Id::Text2), L"250.5");
    Click(Id::Command3);
    EXPECT_EQ(Amounts().size(), 2u);
    ExpectConsistentBalances();
}

TEST_F(ModifyDelete, CancelarResetsTheEntry) {
    StartWithThreeRows();
    SelectRow(1);
    Click(Id::Command7);
    ExpectEntryReset();
}

TEST_F(ModifyDeleteEs, AmountsTravelWithTheLocalesDecimalSeparator) {
    ASSERT_TRUE(Start());
    Register(L"1.234,5", L"", L"uno");
    SelectRow(0);
    EXPECT_EQ(Text(Id::Text1), L"1234,5");
    Click(Id::Command4);
    EXPECT_EQ(Amounts(), std::vector<std::string>{"1|1234.5|0|1234.5|1234.5"});
}

}  // namespace
}  // namespace arc::test
