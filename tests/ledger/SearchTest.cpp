// The menu bar over the designed window, and any movement of the book found
// through "Movimientos > Buscar y corregir..." and corrected with the day
// view's own row-loading step and checks.
#include "LedgerFixture.h"

#include "platform/report/PreviewWindow.h"
#include "platform/runtime/DateValue.h"

#include <commctrl.h>

#include <functional>

namespace arc::test {
namespace {

using SearchId = SearchWindow::Id;

class Search : public LedgerTest {
protected:
    explicit Search(const wchar_t* locale = L"en-US") : LedgerTest(locale) {
        options.search.onShown = [this](SearchWindow& w) {
            ReleaseControl();  // the shortcut's Ctrl is up by the time the window shows
            searchesShown++;
            ownerEnabled = IsWindowEnabled(form->Hwnd()) != FALSE;
            if (drive) drive(w);
        };
        options.preview.onShown = [](report::PreviewWindow& preview) { preview.Close(); };
    }

    // A movement keyed in on an earlier day of November, with the clock of that day.
    void RegisterOn(int day, const std::wstring& income, const std::wstring& expense, const std::wstring& text) {
        host.SetNow(2026, 11, day);
        form->FECHAR().SetDateTime(DateSerial(2026, 11, day));
        Register(income, expense, text);
        host.SetNow(2026, 12, 7);
    }

    // The four movements of the book: three keyed in on earlier days, one today.
    void StartWithABook() {
        ASSERT_TRUE(Start());
        RegisterOn(20, L"1500", L"", L"Ofrenda de los niños");
        RegisterOn(21, L"", L"40", L"Luz");
        RegisterOn(22, L"25", L"", L"Rifa NIÑOS");
        form->MOSTRAR();
        Register(L"100", L"", L"Colecta");
    }

    static void SetControl(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    static void ReleaseControl() { SetControl(false); }

    // Ctrl+B, as the keyboard gives it to the window's message loop.
    void PressCtrlB() {
        SetControl(true);
        MSG msg{form->Control(Id::Text1), WM_KEYDOWN, 'B', 1, 0, {}};
        EXPECT_TRUE(form->PreTranslate(msg));
        ReleaseControl();
        Pump();
    }

    // Types into a filter box and presses Enter there.
    static void SearchFor(SearchWindow& w, SearchId box, const std::wstring& text) {
        SetBoxText(w.Control(box), text);
        SetFocus(w.Control(box));
        MSG enter{w.Control(box), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        EXPECT_TRUE(w.PreTranslate(enter));
    }

    static std::vector<std::wstring> Descriptions(SearchWindow& w) {
        std::vector<std::wstring> out;
        for (int r = 0; r < w.Grid().RowCount(); ++r) out.push_back(w.Grid().CellText(r, 2));
        return out;
    }

    // Every ESTADO equals the running sum of INGEGR in entry order.
    void ExpectRunningSums() {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS f WHERE ESTADO IS NOT "
                         "(SELECT SUM(INGEGR) FROM FINANZAS g WHERE g.ID <= f.ID)"),
                  "0");
    }

    std::function<void(SearchWindow&)> drive;
    int searchesShown = 0;
    bool ownerEnabled = true;
};

class SearchEs : public Search {
protected:
    SearchEs() : Search(L"es-ES") {}
};

TEST_F(Search, TheMenuBarLeavesTheDesignedClientAreaAndTheSystemMenuAsTheyWere) {
    ASSERT_TRUE(Start());
    RECT client;
    GetClientRect(form->Hwnd(), &client);
    EXPECT_EQ(client.right, form->Scale().X(13380));
    EXPECT_EQ(client.bottom, form->Scale().Y(9255));
    HMENU bar = GetMenu(form->Hwnd());
    ASSERT_NE(bar, nullptr);
    std::vector<std::wstring> menus;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        menus.push_back(text);
    }
    EXPECT_EQ(menus, (std::vector<std::wstring>{L"&Archivo", L"&Movimientos", L"&Informes", L"A&yuda"}));
    wchar_t text[64] = {};
    GetMenuStringW(GetSystemMenu(form->Hwnd(), FALSE), Form1::kRestoreCommand, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Restaurar una copia de seguridad...");
}

// A movement keyed in on an earlier day, found by part of its description
// typed without accents, corrected to another amount: the later balances
// follow, and the day view and the report show it.
TEST_F(Search, AnEarlierMovementIsFoundWithoutAccentsAndCorrected) {
    StartWithABook();
    std::vector<std::wstring> firstList, found;
    std::wstring summary;
    drive = [&](SearchWindow& w) {
        firstList = Descriptions(w);  // the last 30 days, newest first
        SearchFor(w, SearchId::Text1, L"ninos");
        found = Descriptions(w);
        summary = w.Text(SearchId::Label5);
        // Enter on a row, through the window's own message loop, chooses it.
        w.Grid().SetRow(1);
        SetFocus(w.Grid().Hwnd());
        PostMessageW(w.Grid().Hwnd(), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(w.Grid().Hwnd(), WM_KEYUP, VK_RETURN, 0xC0000001);
    };
    PressCtrlB();
    EXPECT_EQ(searchesShown, 1);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(form->Hwnd()));
    EXPECT_EQ(firstList, (std::vector<std::wstring>{L"COLECTA", L"RIFA NIÑOS", L"LUZ", L"OFRENDA DE LOS NIÑOS"}));
    EXPECT_EQ(found, (std::vector<std::wstring>{L"RIFA NIÑOS", L"OFRENDA DE LOS NIÑOS"}));
    EXPECT_EQ(summary, L"Se encontraron 2 movimientos. Ingresos: 1,525.00; egresos: 0.00.");

    // Loaded exactly as a row of the day view.
    EXPECT_EQ(form->StatusCaption(), L"Estado: Modificando...");
    EXPECT_EQ(form->ESTADO_MOD, 1);
    EXPECT_EQ(Text(Id::Text1), L"1500");
    EXPECT_EQ(Text(Id::Text3), L"OFRENDA DE LOS NIÑOS");
    EXPECT_EQ(form->FECHAR().DateTime(), DateSerial(2026, 11, 20));

    SetBoxText(form->Control(Id::Text1), L"150");
    Click(Id::Command4);
    EXPECT_EQ(host.messages.back().text,
              L"CUIDADO: Está a punto de modificar el registro del 11/20/2026, ''OFRENDA DE LOS NIÑOS'', ingreso de "
              L"1,500.00.\r\nQuedará así: del 11/20/2026, ''OFRENDA DE LOS NIÑOS'', ingreso de 150.00.\r\n"
              L"¿REALMENTE DESEA MODIFICAR EL REGISTRO?");
    ExpectRunningSums();
    {
        Sql db(DbPath());
        EXPECT_EQ(db.Rows("SELECT ID, INGRESO, ESTADO FROM FINANZAS ORDER BY ID"),
                  (std::vector<std::string>{"1|150|150", "2|0|110", "3|25|135", "4|100|235"}));
    }
    EXPECT_EQ(form->DataGrid1().CellText(0, 5), L"235.");  // today's row, in the day view's format

    form->DESDE().SetDateTime(DateSerial(2026, 11, 1));
    form->RunCommand(static_cast<UINT>(Form1::Command::TreasuryReport));
    const auto& report = form->WindowRecordset();
    ASSERT_EQ(report->RecordCount(), 4u);
    EXPECT_EQ(report->At(0, 2).AsDouble(), 150);

    // Reopened, the search shows the new values.
    std::wstring amount;
    drive = [&](SearchWindow& w) {
        amount = w.Grid().CellText(3, 3);
        w.Close();
    };
    form->RunCommand(static_cast<UINT>(Form1::Command::Search));
    EXPECT_EQ(amount, L"150.");
}

// Found by its amount, typed with the regional rule, then deleted.
TEST_F(SearchEs, AMovementFoundByItsAmountIsDeleted) {
    StartWithABook();
    std::vector<std::wstring> found;
    drive = [&](SearchWindow& w) {
        SearchFor(w, SearchId::Text2, L"1.500,00");
        found = Descriptions(w);
        // A double click chooses the row.
        const UINT_PTR id = static_cast<UINT_PTR>(SearchId::DataGrid1);
        NMITEMACTIVATE click{{w.Grid().Hwnd(), id, static_cast<UINT>(NM_DBLCLK)}, 0, 0, 0, 0, 0, {}, 0, 0};
        SendMessageW(w.Hwnd(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&click));
    };
    PressCtrlB();
    EXPECT_EQ(found, (std::vector<std::wstring>{L"OFRENDA DE LOS NIÑOS"}));
    ASSERT_EQ(form->ESTADO_MOD, 1);
    Click(Id::Command3);
    EXPECT_EQ(host.messages.back().text,
              L"CUIDADO: Está a punto de eliminar el registro del 20/11/2026, ''OFRENDA DE LOS NIÑOS'', ingreso de "
              L"1.500,00.\r\n¿REALMENTE DESEA ELIMINAR EL REGISTRO?");
    ExpectRunningSums();
    Sql db(DbPath());
    EXPECT_EQ(db.Rows("SELECT ID, ESTADO FROM FINANZAS ORDER BY ID"),
              (std::vector<std::string>{"2|-40", "3|-15", "4|85"}));
}

// An amount that does not read is refused by name and nothing is searched;
// a range given backwards says so.
TEST_F(SearchEs, AnUnreadableAmountOrABackwardRangeSearchesNothing) {
    StartWithABook();
    int rowsAfterBadAmount = -1;
    drive = [&](SearchWindow& w) {
        SearchFor(w, SearchId::Text2, L"1.50.0");
        rowsAfterBadAmount = w.Grid().RowCount();
        SetBoxText(w.Control(SearchId::Text2), L"");
        w.DESDE().SetDateTime(DateSerial(2026, 12, 8));
        w.Search();
        w.Close();
    };
    PressCtrlB();
    EXPECT_EQ(rowsAfterBadAmount, 4);  // the first list, untouched
    ASSERT_GE(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[host.messages.size() - 2].text,
              L"El importe ''1.50.0'' no se puede leer como un importe. Corríjalo o déjelo vacío para buscar cualquier "
              L"importe.");
    EXPECT_EQ(host.messages.back().text, L"La fecha Desde es posterior a la fecha Hasta: no hay nada que buscar.");
    EXPECT_EQ(form->StatusCaption(), L"Estado: Registrando...");
}

}  // namespace
}  // namespace arc::test
