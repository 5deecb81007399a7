// Registering movements through the window: the amount boxes, the button,
// the insert with its balance, under an English and a Spanish locale.
#include "LedgerFixture.h"

#include "platform/runtime/DateValue.h"

#include <cstring>

namespace arc::test {
namespace {

using Registering = LedgerTest;

class RegisterEs : public LedgerTest {
protected:
    RegisterEs() : LedgerTest(L"es-ES") {}
};

std::vector<std::string> Stored(const std::wstring& file) {
    Sql db(file);
    return db.Rows("SELECT ID, FECHA, DESCRIPCION, INGRESO, EGRESO, FECHA_OP, INGEGR, ESTADO FROM FINANZAS ORDER BY ID");
}

TEST_F(Registering, AnIncomeOnAnEmptyTableIsItsOwnBalance) {
    ASSERT_TRUE(Start());
    form->FECHAR().SetDateTime(DateSerial(2024, 3, 5));
    Register(L"150", L"", L"ofrenda");
    EXPECT_EQ(Stored(DbPath()), std::vector<std::string>{"1|2024-03-05|OFRENDA|150|0|2026-12-07|150|150"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Text(Id::Text1), L"");
    EXPECT_EQ(Text(Id::Text2), L"");
    EXPECT_EQ(Text(Id::Text3), L"");
    EXPECT_EQ(Focused(), L"Text1");
    EXPECT_EQ(form->FECHAR().DateTime(), DateSerial(2024, 3, 5));  // kept for the next movement
    EXPECT_EQ(Text(Id::Command2), L"Registrar Ingreso");
    ASSERT_EQ(form->DataGrid1().RowCount(), 1);
    EXPECT_EQ(form->DataGrid1().CellText(0, 5), L"150.");
}

TEST_F(Registering, TheAmountBoxesKeepEachOtherAtZeroAndRetitleTheButton) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->DefaultButton(), ControlId());
    Type(Id::Text1, L"150");
    EXPECT_EQ(Text(Id::Text2), L"0");
    EXPECT_EQ(Text(Id::Command2), L"Registrar Ingreso");
    EXPECT_EQ(form->DefaultButton(), ControlId(Id::Command2));
    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(Id::Text2, L"40");
    EXPECT_EQ(Text(Id::Text1), L"0");
    EXPECT_EQ(Text(Id::Command2), L"Registrar Egreso");
}

TEST_F(Registering, ALetterEmptiesTheBoxAndKeepsTheFocusThere) {
    ASSERT_TRUE(Start());
    Type(Id::Text2, L"12");
    Type(Id::Text2, L"x");
    EXPECT_EQ(Text(Id::Text2), L"");
    EXPECT_EQ(Focused(), L"Text2");
    EXPECT_EQ(Text(Id::Text1), L"0");
}

TEST_F(Registering, EnterPressesTheDefaultButton) {
    ASSERT_TRUE(Start());
    Type(Id::Text2, L"40");
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"luz"));
    SetFocus(form->Control(Id::Text2));
    MSG m{form->Control(Id::Text2), WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(IsDialogMessageW(form->Hwnd(), &m));
    Pump();
    EXPECT_EQ(Stored(DbPath()), std::vector<std::string>{"1|2026-12-07|LUZ|0|40|2026-12-07|-40|-40"});
}

// Enter in the description presses the default button like in every other
// box; Ctrl+Enter types a line break.  Without a default button Enter types it.
TEST_F(Registering, EnterInTheDescriptionPressesTheDefaultButtonAndCtrlEnterBreaksTheLine) {
    ASSERT_TRUE(Start());
    HWND text3 = form->Control(Id::Text3);
    auto press = [&](bool ctrl) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        SetFocus(text3);
        MSG m{text3, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {}};
        EXPECT_TRUE(form->PreTranslate(m));
        Pump();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    TypeKeys(text3, L"luz");
    press(false);
    EXPECT_EQ(Text(Id::Text3), L"luz\r\n") << "no default button yet: Enter types the line break";
    SetBoxText(text3, L"");

    Type(Id::Text2, L"40");
    ASSERT_EQ(form->DefaultButton(), ControlId(Id::Command2));
    TypeKeys(text3, L"luz");
    press(true);
    TypeKeys(text3, L"y agua");
    EXPECT_EQ(Text(Id::Text3), L"luz\r\ny agua");
    EXPECT_TRUE(Stored(DbPath()).empty());
    press(false);
    EXPECT_EQ(Stored(DbPath()), std::vector<std::string>{"1|2026-12-07|LUZ\r\nY AGUA|0|40|2026-12-07|-40|-40"});
    EXPECT_EQ(Text(Id::Text3), L"");
}

TEST_F(Registering, EachMovementCarriesTheFundAfterIt) {
    ASSERT_TRUE(Start());
    Register(L"1000", L"", L"a");
    Register(L"", L"250.5", L"b");
    Register(L"0", L"0", L"cero");
    EXPECT_EQ(Stored(DbPath()), (std::vector<std::string>{"1|2026-12-07|A|1000|0|2026-12-07|1000|1000",
                                                          "2|2026-12-07|B|0|250.5|2026-12-07|-250.5|749.5",
                                                          "3|2026-12-07|CERO|0|0|2026-12-07|0|749.5"}));
    EXPECT_EQ(form->DataGrid1().CellText(2, 5), L"749.5");
}

TEST_F(Registering, ANegativeAmountIsStoredButNotCounted) {
    ASSERT_TRUE(Start());
    Register(L"100", L"", L"base");
    // Typed key by key: the lone "-" on the way stays in the box.
    Type(Id::Text1, L"-5");
    EXPECT_EQ(Text(Id::Text1), L"-5");
    EXPECT_EQ(Text(Id::Text2), L"");
    Type(Id::Text2, L"0");
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"neg"));
    Click(Id::Command2);
    EXPECT_EQ(Stored(DbPath()).back(), "2|2026-12-07|NEG|-5|0|2026-12-07|0|100");
}

TEST_F(Registering, GroupedAmountsGoInWithOneValue) {
    ASSERT_TRUE(Start());
    Register(L"1,000", L"", L"agrupado");
    EXPECT_EQ(Stored(DbPath()), std::vector<std::string>{"1|2026-12-07|AGRUPADO|1000|0|2026-12-07|1000|1000"});
}

TEST_F(RegisterEs, CommaDecimalsAndTheKeypadsPointAreReadWhole) {
    ASSERT_TRUE(Start());
    Register(L"12,5", L"", L"a");
    Register(L"", L"0,50", L"b");
    Register(L"1.000", L"", L"c");
    // The keypad's point before one, two or more than three digits is a decimal point.
    Register(L"12.50", L"", L"punto");
    Register(L"1.000,50", L"", L"miles");
    Register(L"", L"0.75", L"coma");
    EXPECT_EQ(Stored(DbPath()), (std::vector<std::string>{"1|2026-12-07|A|12.5|0|2026-12-07|12.5|12.5",
                                                          "2|2026-12-07|B|0|0.5|2026-12-07|-0.5|12",
                                                          "3|2026-12-07|C|1000|0|2026-12-07|1000|1012",
                                                          "4|2026-12-07|PUNTO|12.5|0|2026-12-07|12.5|1024.5",
                                                          "5|2026-12-07|MILES|1000.5|0|2026-12-07|1000.5|2025",
                                                          "6|2026-12-07|COMA|0|0.75|2026-12-07|-0.75|2024.25"}));
    EXPECT_EQ(form->DataGrid1().CellText(0, 3), L"12,5");
    EXPECT_EQ(form->DataGrid1().CellText(2, 5), L"1.012,");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RegisterEs, MisplacedGroupingIsRefusedByNameAndNothingIsWritten) {
    ASSERT_TRUE(Start());
    Register(L"", L"1.000.5", L"mal agrupado");
    EXPECT_EQ(Text(Id::Text2), L"1.000.5");  // every step of the typing stayed in the box
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              L"El importe ''1.000.5'' de Egreso no se puede leer: el separador de miles ''.'' va cada tres cifras y "
              L"los decimales van tras '',''. Corríjalo y vuelva a intentarlo; no se ha guardado nada.");
    EXPECT_EQ(Focused(), L"Text2");
    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-"));
    Click(Id::Command2);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, L"El importe ''-'' de Egreso no es un número completo. Corríjalo y vuelva a "
                                     L"intentarlo; no se ha guardado nada.");
    EXPECT_TRUE(Stored(DbPath()).empty());
}

// Denies every read of FECHA_OP, which only the day view's statement reads,
// on each connection opened while it is installed.
TEST_F(Registering, AFailedRefreshAfterTheInsertSaysTheMovementWasSaved) {
    ASSERT_TRUE(Start());
    {
        DayViewDenied denied;
        Register(L"150", L"", L"guardado");
    }
    EXPECT_EQ(Stored(DbPath()), std::vector<std::string>{"1|2026-12-07|GUARDADO|150|0|2026-12-07|150|150"});
    ASSERT_EQ(host.messages.size(), 1u);
    const std::wstring& text = host.messages[0].text;
    EXPECT_EQ(text.rfind(L"El movimiento quedó registrado", 0), 0u) << Narrow(text);
    EXPECT_NE(text.find(L"'23'"), std::wstring::npos) << Narrow(text);  // SQLite's own number, not authorized
    EXPECT_NE(text.find(L"FECHA_OP"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(Text(Id::Text1), L"");
    EXPECT_EQ(Text(Id::Text3), L"");
}

TEST_F(Registering, ADateFieldWithoutItsPickerIsRefusedAndNothingIsWritten) {
    ASSERT_TRUE(Start());
    DestroyWindow(GetWindow(form->FECHAR().Hwnd(), GW_CHILD));
    Register(L"150", L"", L"sin fecha");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"El campo de fecha no muestra ninguna fecha."), std::wstring::npos);
    EXPECT_TRUE(Stored(DbPath()).empty());
    EXPECT_EQ(Text(Id::Text1), L"150");
}

TEST_F(Registering, DescriptionsAreUpperCasedWithQuotesAndLineBreaksKept) {
    ASSERT_TRUE(Start());
    Register(L"1", L"", L"niños de O'Brien\r\nsegunda línea");
    Sql db(DbPath());
    EXPECT_EQ(db.One("SELECT DESCRIPCION FROM FINANZAS"), "NIÑOS DE O'BRIEN\r\nSEGUNDA LÍNEA");
}

TEST_F(Registering, EmptyFieldsTakeTheFocusInOrderWithoutAMessage) {
    ASSERT_TRUE(Start());
    Click(Id::Command2);
    EXPECT_EQ(Focused(), L"Text1");
    Type(Id::Text1, L"5");
    SendMessageW(form->Control(Id::Text2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Click(Id::Command2);
    EXPECT_EQ(Focused(), L"Text2");
    Type(Id::Text2, L"0");
    Click(Id::Command2);
    EXPECT_EQ(Focused(), L"Text3");
    EXPECT_TRUE(host.messages.empty());
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" "));
    Click(Id::Command2);
    EXPECT_EQ(Stored(DbPath()).size(), 1u);
}

TEST_F(Registering, NothingIsRegisteredWhileModifying) {
    ASSERT_TRUE(Start());
    Register(L"10", L"", L"uno");
    SelectRow(0);
    ASSERT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    SendMessageW(form->Control(Id::Text3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"otro"));
    Click(Id::Command2);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              L"No es posible registrar, el estado es: ''Estado: Modificando...''. Haga clic en en el botón "
              L"''Cancelar'' que se encuentra en el pie de la ventana y luego intente de nuevo.");
    EXPECT_EQ(host.messages[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(Stored(DbPath()).size(), 1u);
}

TEST_F(Registering, ALockedDatabaseLosesNothingAndEndsNothing) {
    ASSERT_TRUE(Start());
    Register(L"100", L"", L"antes");
    {
        Sql other(DbPath());
        other.Exec("BEGIN EXCLUSIVE");
        Register(L"", L"30", L"bloqueado");
        other.Exec("ROLLBACK");
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find(L"'5'"), std::wstring::npos);
    EXPECT_TRUE(IsWindow(form->Hwnd()));
    EXPECT_EQ(Text(Id::Text2), L"30");
    EXPECT_EQ(Text(Id::Text3), L"bloqueado");
    EXPECT_EQ(Stored(DbPath()).size(), 1u);
    Click(Id::Command2);
    EXPECT_EQ(Stored(DbPath()).back(), "2|2026-12-07|BLOQUEADO|0|30|2026-12-07|-30|70");
}

}  // namespace
}  // namespace arc::test
