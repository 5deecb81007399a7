// The history of every change: what registering, modifying and deleting
// leave in HISTORIAL, the chain and "Verificar" against changes made outside
// the program, the opening of an older book, and the closed period.
#include "LedgerFixture.h"

#include "ledger/History.h"
#include "platform/report/PreviewWindow.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"

#include <cstdlib>

namespace arc::test {
namespace {

class HistoryTest : public LedgerTest {
protected:
    HistoryTest() {
        options.preview.onShown = [this](report::PreviewWindow& p) { options_preview_(p); };
        options.history.onShown = [this](HistoryWindow& w) {
            shownEntries = w.Grid().RowCount();
            w.Verify();
            SendMessageW(w.Hwnd(), WM_CLOSE, 0, 0);
        };
    }

    void RegisterOn(double date, const std::wstring& income, const std::wstring& expense, const std::wstring& text) {
        form->FECHAR().SetDateTime(date);
        Register(income, expense, text);
    }

    std::vector<std::string> Entries() {
        Sql db(DbPath());
        return db.Rows("SELECT OPERACION, ID, FECHA_ANTES, DESCRIPCION_ANTES, INGRESO_ANTES, EGRESO_ANTES, "
                       "FECHA_DESPUES, DESCRIPCION_DESPUES, INGRESO_DESPUES, EGRESO_DESPUES FROM HISTORIAL ORDER BY NUM");
    }

    // "Verificar", through the menu and the history window.
    std::wstring Verified() {
        form->RunCommand(static_cast<UINT>(Form1::Command::History));
        return host.messages.back().text;
    }

    // The texts of the treasury report's last page for the window's range.
    std::vector<std::wstring> ReportEnd() {
        std::vector<std::wstring> texts;
        options_preview_ = [&](report::PreviewWindow& preview) {
            const report::Layout& layout = preview.GetLayout();
            for (const auto& item : layout.Content(layout.PageCount() - 1).items)
                if (item.name.rfind(L"Cambio", 0) == 0 || item.name.rfind(L"Huella", 0) == 0)
                    texts.push_back(item.Text());
            preview.Close();
        };
        form->RunCommand(static_cast<UINT>(Form1::Command::TreasuryReport));
        return texts;
    }

    int shownEntries = -1;
    std::function<void(report::PreviewWindow&)> options_preview_;
};

TEST_F(HistoryTest, EveryChangeIsKeptWithItsValuesBeforeAndAfterAndChained) {
    ASSERT_TRUE(Start());
    RegisterOn(DateSerial(2026, 12, 6), L"150", L"", L"Ofrenda");
    RegisterOn(DateSerial(2026, 12, 7), L"", L"40.5", L"Luz");
    SelectRow(0);
    SetBoxText(form->Control(Id::Text1), L"1500");
    Click(Id::Command4);
    SelectRow(1);
    Click(Id::Command3);
    EXPECT_EQ(Entries(), (std::vector<std::string>{
                             "APERTURA|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL",
                             "ALTA|1|NULL|NULL|NULL|NULL|2026-12-06|OFRENDA|150|0",
                             "ALTA|2|NULL|NULL|NULL|NULL|2026-12-07|LUZ|0|40.5",
                             "MODIFICACION|1|2026-12-06|OFRENDA|150|0|2026-12-06|OFRENDA|1500|0",
                             "BAJA|2|2026-12-07|LUZ|0|40.5|NULL|NULL|NULL|NULL",
                         }));
    {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT NOTA FROM HISTORIAL WHERE NUM = 1").substr(0, 27), "FILAS=0;ULTIMO_ID=0;FONDO=0");
        EXPECT_EQ(db.One("SELECT count(*) FROM HISTORIAL WHERE MOMENTO = '2026-12-07 12:00:00'"), "5");
    }
    EXPECT_EQ(Verified(), L"La historia está completa y coincide con el libro.");
    EXPECT_EQ(shownEntries, 5);

    // The report of a range with corrections ends with them and the chain's head.
    form->DESDE().SetDateTime(DateSerial(2026, 12, 1));
    const auto end = ReportEnd();
    ASSERT_EQ(end.size(), 6u);
    EXPECT_EQ(end[0], L"Cambios en el período");
    EXPECT_EQ(end[1], L"2026-12-07 12:00:00\r\nMODIFICACION, movimiento 1");
    EXPECT_EQ(end[2], L"Antes: del 12/6/2026, ''OFRENDA'', ingreso de 150.00\r\nDespués: del 12/6/2026, ''OFRENDA'', "
                      L"ingreso de 1,500.00");
    EXPECT_EQ(end[4], L"Antes: del 12/7/2026, ''LUZ'', egreso de 40.50\r\nDespués: eliminado");
    EXPECT_EQ(end[5].substr(0, 65), L"Huella del historial (5 entradas), leída el 2026-12-07 12:00:00: ");
    EXPECT_EQ(end[5].size(), 65u + 64u);
    form->DESDE().SetDateTime(DateSerial(2026, 12, 8));
    form->HASTA().SetDateTime(DateSerial(2026, 12, 31));
    EXPECT_TRUE(ReportEnd().empty());  // a range without corrections adds nothing

    // The book as it stands, for the check made outside the program.
    if (const char* keep = std::getenv("ARC_KEEP_LEDGER")) CopyFileW(DbPath().c_str(), FromUtf8(keep).c_str(), FALSE);

    // An amount changed with another tool is named by its movement ...
    {
        Sql db(DbPath());
        db.Exec("UPDATE FINANZAS SET INGRESO = 15000 WHERE ID = 1");
    }
    EXPECT_EQ(Verified(), L"El movimiento 1 no coincide con el historial: se cambió fuera del programa.");
    // ... and an entry of the history changed to match it breaks the chain.
    {
        Sql db(DbPath());
        db.Exec("UPDATE HISTORIAL SET INGRESO_DESPUES = 15000 WHERE NUM = 4");
    }
    EXPECT_EQ(Verified(), L"La entrada 4 del historial (2026-12-07 12:00:00, MODIFICACION) fue alterada: su huella "
                          L"no coincide con su contenido.");
    {
        Sql db(DbPath());
        db.Exec("DELETE FROM HISTORIAL WHERE NUM = 4");
    }
    EXPECT_EQ(Verified(), L"La entrada 5 del historial (2026-12-07 12:00:00, BAJA) no sigue a la anterior: falta, "
                          L"sobra o se cambió una entrada antes de ella.");
}

// A book kept before the history gets its opening at the first start; its
// old movements are guarded by the opening's fingerprint.
TEST_F(HistoryTest, AnOlderBookOpensItsHistoryAndItsOldMovementsAreGuarded) {
    {
        Sql db(DbPath());
        db.Exec(ToUtf8(LedgerDatabase::kCreateTable));
        db.Exec("INSERT INTO FINANZAS VALUES (1, '2025-01-05', 'CUOTA', 100, 0, '2025-01-05', 100, 100), "
                "(2, '2025-02-05', 'LUZ', 0, 30, '2025-02-05', -30, 70), "
                "(3, '2025-03-05', 'RIFA', 12.5, 0, '2025-03-05', 12.5, 82.5)");
    }
    ASSERT_TRUE(Start());
    {
        Sql db(DbPath());
        EXPECT_EQ(db.One("SELECT OPERACION || '|' || substr(NOTA, 1, 30) FROM HISTORIAL"),
                  "APERTURA|FILAS=3;ULTIMO_ID=3;FONDO=82.5");
    }
    EXPECT_EQ(Verified(), L"La historia está completa y coincide con el libro.");

    // Corrected through the program: still sound.
    form->DataGrid1().Bind(form->Database().OpenRecordset(L"select ID, FECHA, DESCRIPCION, INGRESO, EGRESO, ESTADO "
                                                          L"FROM FINANZAS WHERE ID = 2"));
    SelectRow(0);
    SetBoxText(form->Control(Id::Text2), L"35");
    Click(Id::Command4);
    EXPECT_EQ(Verified(), L"La historia está completa y coincide con el libro.");

    // Changed or removed outside it: caught.
    {
        Sql db(DbPath());
        db.Exec("UPDATE FINANZAS SET DESCRIPCION = 'RIFA GRANDE' WHERE ID = 3");
    }
    EXPECT_EQ(Verified(), L"Los movimientos anteriores al historial no coinciden con los que había al abrirlo: alguno "
                          L"se cambió o se eliminó fuera del programa.");
}

TEST_F(HistoryTest, AClosedPeriodRefusesEveryChangeAndNamesItsDate) {
    double closeAt = DateSerial(2026, 11, 30);
    std::wstring reason;
    options.periodDialog.onShown = [&](PeriodDialog& d) {
        if (d.Day()) {
            d.Day()->SetDateTime(closeAt);
        } else {
            d.Accept();  // no reason yet: asked for again
            SetBoxText(d.Control(PeriodDialog::Id::TextBox), reason);
        }
        d.Accept();
    };
    ASSERT_TRUE(Start());
    RegisterOn(DateSerial(2026, 11, 20), L"100", L"", L"Noviembre");
    RegisterOn(DateSerial(2026, 12, 1), L"", L"30", L"Diciembre");

    form->RunCommand(static_cast<UINT>(Form1::Command::ClosePeriod));
    ASSERT_GE(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[host.messages.size() - 2].text,
              L"¿Cerrar el período hasta el Monday, November 30, 2026 inclusive?\r\n\r\nEl fondo a esa fecha es "
              L"100.00 (1 movimiento).");

    const size_t before = host.messages.size();
    SelectRow(0);
    SetBoxText(form->Control(Id::Text1), L"200");
    Click(Id::Command4);
    ASSERT_EQ(host.messages.size(), before + 2);  // the question, then the refusal
    EXPECT_EQ(host.messages.back().text,
              L"El período está cerrado hasta el Monday, November 30, 2026 inclusive: este movimiento, del "
              L"11/20/2026, no se puede modificar. Si hay que corregirlo, reabra antes el período (Movimientos > "
              L"Reabrir período...).");
    form->EntryReset();
    SelectRow(1);  // December's, moved into November
    form->FECHAR().SetDateTime(DateSerial(2026, 11, 29));
    Click(Id::Command4);
    EXPECT_NE(host.messages.back().text.find(L"un movimiento no se puede llevar al 11/29/2026"), std::wstring::npos);
    form->EntryReset();
    RegisterOn(DateSerial(2026, 11, 30), L"5", L"", L"Tarde");
    EXPECT_NE(host.messages.back().text.find(L"no se puede registrar un movimiento con fecha 11/30/2026"),
              std::wstring::npos);
    {
        Sql db(DbPath());
        EXPECT_EQ(db.Rows("SELECT ID, INGRESO, FECHA FROM FINANZAS ORDER BY ID"),
                  (std::vector<std::string>{"1|100|2026-11-20", "2|0|2026-12-01"}));
    }

    reason = L"Factura de noviembre llegada tarde";
    form->EntryReset();
    form->RunCommand(static_cast<UINT>(Form1::Command::ReopenPeriod));
    EXPECT_EQ(host.messages[host.messages.size() - 2].text, L"Escriba el motivo: queda en el historial de cambios.");
    EXPECT_EQ(host.messages.back().text, L"No queda ningún período cerrado.");
    RegisterOn(DateSerial(2026, 11, 30), L"5", L"", L"Tarde");
    Sql db(DbPath());
    EXPECT_EQ(db.Rows("SELECT OPERACION, FECHA_ANTES, FECHA_DESPUES, NOTA FROM HISTORIAL WHERE ID IS NULL ORDER BY NUM"),
              (std::vector<std::string>{"APERTURA|NULL|NULL|" + db.One("SELECT NOTA FROM HISTORIAL WHERE NUM = 1"),
                                        "CIERRE|NULL|2026-11-30|FONDO=100;MOVIMIENTOS=1",
                                        "REAPERTURA|2026-11-30|NULL|Factura de noviembre llegada tarde"}));
    EXPECT_EQ(db.One("SELECT count(*) FROM FINANZAS"), "3");
}

}  // namespace
}  // namespace arc::test
