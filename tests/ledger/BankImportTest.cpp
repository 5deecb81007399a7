// Importing a bank's statement through its windows, as the user does it:
// the file dialog answered by the test host, the preview driven with the
// list view's own messages, the rows the import writes read back from the
// file, the reconciliation it shows afterwards.
#include "LedgerFixture.h"

#include "ledger/BankImport.h"
#include "ledger/History.h"
#include "support/StatementFiles.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <cstdlib>

namespace arc::test {
namespace {

using Preview = ImportPreviewWindow;
using Recon = ReconciliationWindow;

// January 2026 of an account that starts at 1.000,00: a transfer of 0,01
// with two concept lines in Windows-1252, a grant of 9.999.999,99 and a
// charge of 45,20 without concept lines.
N43Account January() {
    N43Account a;
    a.from = "260101";
    a.to = "260131";
    a.initialCents = 100000;
    a.movements = {
        {"260105", 1, {L"TRANSFERENCIA DE  CUOTA AÑO 2026           SEGUNDA MITAD", L"PEÑA EL CAÑÓN"}},
        {"260112", 999999999, {L"SUBVENCIÓN"}},
        {"260120", -4520, {}, 3, "REC123", "LUZ ENERO"},
    };
    return a;
}

// The hooks with each window closed once what its hook posted has run, so
// that a hook that fails half-way never leaves its window waiting.
ImportHooks Guarded(ImportHooks hooks) {
    auto guard = [](auto hook) {
        return [hook](auto& window) {
            if (hook) hook(window);
            if (!window.Ended()) PostMessageW(window.Hwnd(), WM_CLOSE, 0, 0);
        };
    };
    hooks.onPreviewShown = guard(hooks.onPreviewShown);
    hooks.onReconciliationShown = guard(hooks.onReconciliationShown);
    return hooks;
}

class BankImport : public LedgerTest {
protected:
    BankImport() : LedgerTest(L"es-ES"), db(folder.Path()) {
        db.CONEXION();
        // The book opens at the bank's initial balance; the transfer is already in it.
        sql.Exec("INSERT INTO FINANZAS VALUES (NULL, '2025-12-31', 'SALDO INICIAL', 1000, 0, '2025-12-31', 1000, 1000);"
                 "INSERT INTO FINANZAS VALUES (NULL, '2026-01-05', 'TRANSFERENCIA DE CUOTA AÑO 2026', 0.01, 0, "
                 "'2026-01-06', 0.01, 1000.01)");
    }

    std::wstring File(const std::wstring& name, const std::string& bytes) {
        WriteBytes(folder / name, bytes);
        return folder / name;
    }
    bool Import(const std::wstring& path) {
        host.dialogAnswers.push_back(path);
        return ImportBankStatement(nullptr, host, db, Guarded(hooks));
    }
    std::string One(const std::string& query) { return sql.One(query); }
    double Real(const std::string& query) { return std::strtod(sql.One(query).c_str(), nullptr); }
    // A day as the regional short date shows it.
    std::wstring Day(int y, int m, int d) const { return ShortDate(DateSerial(y, m, d), host.regional); }
    std::string Messages() const {
        std::string all;
        for (const auto& m : host.messages) all += Narrow(m.text) + "\n";
        return all;
    }

    LedgerDatabase db;
    Sql sql{DbPath()};
    ImportHooks hooks;
};

// A mouse click on a row's check box, found by the list's own hit test.
void ClickBox(ListView& list, int row) {
    RECT r{};
    ListView_GetItemRect(list.Hwnd(), row, &r, LVIR_BOUNDS);
    for (int x = r.left; x < r.left + 40; ++x) {
        LVHITTESTINFO hit{{x, (r.top + r.bottom) / 2}, 0, -1, 0, 0};
        if (ListView_SubItemHitTest(list.Hwnd(), &hit) == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
            SendMessageW(list.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, hit.pt.y));
            SendMessageW(list.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, hit.pt.y));
            Pump();
            return;
        }
    }
    ADD_FAILURE() << "row " << row << " shows no check box";
}

// The first column's text edited in place, as F2 and typing and Enter do it.
void EditDescription(Preview& preview, size_t row, const std::wstring& text) {
    ListView& list = preview.List();
    list.SetCurrentRow(row);
    SetFocus(list.Hwnd());
    SendMessageW(list.Hwnd(), WM_KEYDOWN, VK_F2, 0);
    HWND edit = ListView_GetEditControl(list.Hwnd());
    ASSERT_NE(edit, nullptr);
    SetBoxText(edit, text);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
}

TEST_F(BankImport, WritesTheNewMovementsExactlyAndAgainNothing) {
    const std::wstring path = File(L"enero.n43", Norma43File({January()}));
    std::vector<std::int64_t> recorded;
    hooks.recordInsert = [&](data::Connection& c, std::int64_t id, const std::wstring& file) {
        // Inside the import's transaction, with the row already there.
        EXPECT_EQ(sqlite3_get_autocommit(c.Handle()), 0);
        EXPECT_EQ(file, L"enero.n43");
        recorded.push_back(id);
    };
    int previews = 0;
    hooks.onPreviewShown = [&](Preview& p) {
        ++previews;
        ASSERT_TRUE(p.Plan());
        ListView& list = p.List();
        ASSERT_EQ(list.RowCount(), 3u);
        EXPECT_FALSE(list.Checked(0));
        EXPECT_EQ(list.CellText(0, Preview::kStateColumn), L"Ya en el libro");
        EXPECT_TRUE(list.Checked(1));
        EXPECT_TRUE(list.Checked(2));
        EXPECT_EQ(list.CellText(1, Preview::kIncomeColumn), L"9.999.999,99");
        EXPECT_EQ(list.CellText(2, Preview::kExpenseColumn), L"45,20");
        EXPECT_EQ(list.CellText(2, Preview::kDateColumn), Day(2026, 1, 20));
        EXPECT_EQ(Narrow(list.CellText(1, Preview::kDescriptionColumn)), "SUBVENCIÓN");
        EXPECT_EQ(p.Text(Preview::kAccountText), L"Cuenta: Entidad 2100, oficina 0418, cuenta 0200051332, "
                                                 L"ASOCIACION DE PRUEBA");
        EXPECT_EQ(p.Text(Preview::kPeriodText), L"Período: del " + Day(2026, 1, 1) + L" al " + Day(2026, 1, 31) + L".");
        EXPECT_EQ(p.Text(Preview::kBalancesText), L"Saldo inicial: 1.000,00; abonos (2): 10.000.000,00; cargos (1): "
                                                  L"45,20; saldo final: 10.000.954,80.");
        EXPECT_EQ(p.Text(Preview::kSummary), L"Se importarán 2 de 3 movimientos. 1 ya está en el libro.");
        EditDescription(p, 2, L"Recibo de la luz");
        EXPECT_EQ(list.CellText(2, Preview::kDescriptionColumn), L"Recibo de la luz");
        p.Import();
    };
    std::wstring headline, difference;
    hooks.onReconciliationShown = [&](Recon& r) {
        headline = r.Text(Recon::kHeadline);
        difference = r.Text(Recon::kDifferenceValue);
        EXPECT_EQ(r.Text(Recon::kBankValue), L"10.000.954,80");
        EXPECT_EQ(r.Text(Recon::kBookValue), L"10.000.954,80");
        EXPECT_EQ(r.Text(Recon::kVerdict), L"El libro cuadra con el banco.");
        r.EndModal();
    };

    ASSERT_TRUE(Import(path)) << Messages();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(headline, L"Se importaron 2 movimientos de enero.n43.");
    EXPECT_EQ(difference, L"0,00");
    EXPECT_EQ(sql.Rows("SELECT ID, FECHA, DESCRIPCION, FECHA_OP FROM FINANZAS WHERE ID > 2 ORDER BY ID"),
              (std::vector<std::string>{"3|2026-01-12|SUBVENCIÓN|2026-12-07", "4|2026-01-20|RECIBO DE LA LUZ|2026-12-07"}));
    EXPECT_EQ(recorded, (std::vector<std::int64_t>{3, 4}));
    // Amounts to the cent, in the right column, and the running balance.
    EXPECT_EQ(Real("SELECT INGRESO FROM FINANZAS WHERE ID = 3"), 9999999.99);
    EXPECT_EQ(Real("SELECT INGEGR FROM FINANZAS WHERE ID = 3"), 9999999.99);
    EXPECT_EQ(Real("SELECT EGRESO FROM FINANZAS WHERE ID = 3"), 0.0);
    EXPECT_EQ(Real("SELECT ESTADO FROM FINANZAS WHERE ID = 3"), 10001000.00);
    EXPECT_EQ(Real("SELECT EGRESO FROM FINANZAS WHERE ID = 4"), 45.20);
    EXPECT_EQ(Real("SELECT INGEGR FROM FINANZAS WHERE ID = 4"), -45.20);
    EXPECT_EQ(Real("SELECT ESTADO FROM FINANZAS WHERE ID = 4"), 10000954.80);
    EXPECT_NEAR(Real("SELECT ESTADO FROM FINANZAS WHERE ID = 4"), Real("SELECT SUM(INGEGR) FROM FINANZAS"), 1e-6);

    // Again: every movement is in the book now, the edited one by the
    // fingerprint of its line, and nothing is added.
    hooks.onPreviewShown = [&](Preview& p) {
        ++previews;
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_FALSE(p.List().Checked(i)) << i;
            EXPECT_EQ(p.List().CellText(i, Preview::kStateColumn), L"Ya en el libro") << i;
        }
        p.Import();
    };
    EXPECT_FALSE(Import(path)) << Messages();
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(One("SELECT COUNT(*) FROM FINANZAS"), "4");
    EXPECT_EQ(One("SELECT COUNT(*) FROM EXTRACTOS"), "1");
    EXPECT_EQ(One("SELECT group_concat(FINANZAS_ID) FROM (SELECT FINANZAS_ID FROM EXTRACTO_MOVIMIENTOS ORDER BY FECHA)"),
              "2,3,4");
    EXPECT_EQ(headline, L"No se importó ningún movimiento de enero.n43.");
    EXPECT_TRUE(host.messages.empty()) << Messages();
}

TEST_F(BankImport, RefusesTheClosedPeriodsRowsWithTheReasonAndWritesNothingOnCancel) {
    const std::wstring path = File(L"enero.n43", Norma43File({January()}));
    sql.Exec("DELETE FROM FINANZAS WHERE ID = 2");
    hooks.closedThrough = [] { return std::optional<double>(DateSerial(2026, 1, 12)); };
    hooks.onPreviewShown = [&](Preview& p) {
        ListView& list = p.List();
        EXPECT_EQ(list.CellText(0, Preview::kStateColumn), L"Período cerrado");
        EXPECT_EQ(list.CellText(1, Preview::kStateColumn), L"Período cerrado");
        EXPECT_FALSE(list.Checked(1));
        EXPECT_TRUE(list.Checked(2));
        EXPECT_EQ(p.Text(Preview::kSummary),
                  L"Se importarán 1 de 3 movimientos. 2 son del período cerrado hasta el " + Day(2026, 1, 12) + L".");
        list.SetChecked(1, true);
        EXPECT_FALSE(list.Checked(1));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, L"El movimiento del " + Day(2026, 1, 12) + L" es del período cerrado hasta el " +
                                             Day(2026, 1, 12) + L": no se puede importar.");
        // Space clears the current row's box; Escape cancels, from the list as anywhere.
        list.SetCurrentRow(2);
        SetFocus(list.Hwnd());
        PostMessageW(list.Hwnd(), WM_KEYDOWN, VK_SPACE, 0);
        Pump();
        EXPECT_FALSE(list.Checked(2));
        EXPECT_EQ(p.Text(Preview::kSummary),
                  L"Se importarán 0 de 3 movimientos. 2 son del período cerrado hasta el " + Day(2026, 1, 12) + L".");
        ClickBox(list, 2);
        EXPECT_TRUE(list.Checked(2));
        ClickBox(list, 0);  // closed: refused again
        EXPECT_FALSE(list.Checked(0));
        EXPECT_EQ(host.messages.size(), 2u);
        PostMessageW(list.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    hooks.onReconciliationShown = [](Recon&) { ADD_FAILURE() << "a cancelled import reconciled"; };
    EXPECT_FALSE(Import(path));
    EXPECT_EQ(One("SELECT COUNT(*) FROM FINANZAS"), "1");
    EXPECT_EQ(One("SELECT COUNT(*) FROM EXTRACTOS"), "0");

    // The closed period moved on while the preview was open: the row ticked
    // then is refused at the import, and said so.
    std::optional<double> closed = DateSerial(2026, 1, 12);
    hooks.closedThrough = [&] { return closed; };
    hooks.onPreviewShown = [&](Preview& p) {
        closed = DateSerial(2026, 1, 31);
        PostMessageW(p.List().Hwnd(), WM_KEYDOWN, VK_RETURN, 0);  // Enter imports
    };
    std::wstring headline;
    hooks.onReconciliationShown = [&](Recon& r) {
        headline = r.Text(Recon::kHeadline);
        r.EndModal();
    };
    EXPECT_FALSE(Import(path));
    EXPECT_EQ(headline, L"No se importó ningún movimiento de enero.n43. 1 no, por ser del período cerrado hasta el " +
                            Day(2026, 1, 31) + L".");
    EXPECT_EQ(One("SELECT COUNT(*) FROM FINANZAS"), "1");
}

TEST_F(BankImport, AFileThatDoesNotAddUpOrAFailingWriteLeavesTheBookAsItWas) {
    N43Account wrong = January();
    wrong.claimedDebits = 4000;
    hooks.onPreviewShown = [](Preview&) { ADD_FAILURE() << "an inconsistent file was previewed"; };
    EXPECT_FALSE(Import(File(L"malo.n43", Norma43File({wrong}))));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(Narrow(host.messages[0].text).find("No se puede importar el archivo malo.n43.\r\n\r\nLínea 8: el banco dice"),
              0u);
    EXPECT_NE(Narrow(host.messages[0].text).find("No se ha importado nada."), std::string::npos);

    // The second row written fails: the first goes with it, and so does the statement.
    host.messages.clear();
    hooks.onPreviewShown = [](Preview& p) { p.Import(); };
    int calls = 0;
    hooks.recordInsert = [&](data::Connection&, std::int64_t, const std::wstring&) {
        if (++calls == 2) throw RuntimeError(5, L"sin historial");
    };
    sql.Exec("DELETE FROM FINANZAS WHERE ID = 2");
    EXPECT_FALSE(Import(File(L"enero.n43", Norma43File({January()}))));
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(Narrow(host.messages[0].text).find("sin historial"), std::string::npos);
    EXPECT_EQ(One("SELECT COUNT(*) FROM FINANZAS"), "1");
    EXPECT_EQ(One("SELECT COUNT(*) FROM EXTRACTOS"), "0");
}

TEST_F(BankImport, AFileOfSeveralAccountsImportsTheAccountChosen) {
    N43Account other;
    other.account = "0200099999";
    other.from = "260101";
    other.to = "260131";
    other.initialCents = 50000;
    other.movements = {{"260110", -100, {L"COMISIÓN"}}};
    hooks.onPreviewShown = [](Preview& p) {
        EXPECT_EQ(SendMessageW(p.Control(Preview::kAccountBox), CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(p.List().RowCount(), 3u);
        p.Choose(Preview::kAccountBox, 1);
        ASSERT_EQ(p.List().RowCount(), 1u);
        EXPECT_EQ(p.Text(Preview::kBalancesText),
                  L"Saldo inicial: 500,00; abonos (0): 0,00; cargos (1): 1,00; saldo final: 499,00.");
        p.Import();
    };
    ASSERT_TRUE(Import(File(L"dos.n43", Norma43File({January(), other}))));
    EXPECT_EQ(One("SELECT DESCRIPCION || '|' || EGRESO FROM FINANZAS WHERE ID = 3"), "COMISIÓN|1.0");
    EXPECT_EQ(One("SELECT CUENTA || '|' || SALDO_FINAL FROM EXTRACTOS"), "0200099999|49900");
    EXPECT_EQ(One("SELECT COUNT(*) FROM FINANZAS"), "3");
}

TEST_F(BankImport, ACsvWhoseAmountsAndDatesReadTwoWaysWaitsForTheUsersChoice) {
    const std::string csv = CsvFile({{L"Fecha", L"Concepto", L"Importe"},
                                     {L"03/04/2026", L"DONATIVO", L"1.200"},
                                     {L"04/05/2026", L"OBRAS DEL LOCAL", L"-12.000"}},
                                    L';');
    hooks.onPreviewShown = [&](Preview& p) {
        EXPECT_FALSE(p.Plan());
        EXPECT_FALSE(IsWindowEnabled(p.Control(Preview::kImport)));
        EXPECT_NE(Narrow(p.Text(Preview::kCheckText)).find("elija el orden de las fechas"), std::string::npos);
        p.Choose(Preview::kOrderBox, 0);  // día/mes/año
        EXPECT_NE(Narrow(p.Text(Preview::kCheckText)).find("elija el separador decimal"), std::string::npos);
        EXPECT_FALSE(IsWindowEnabled(p.Control(Preview::kImport)));
        p.Choose(Preview::kDecimalBox, 0);  // coma
        ASSERT_TRUE(p.Plan());
        EXPECT_TRUE(IsWindowEnabled(p.Control(Preview::kImport)));
        EXPECT_EQ(p.List().CellText(1, Preview::kExpenseColumn), L"12.000,00");
        // Another amount column makes the mark open again, never kept from before.
        p.Choose(Preview::kAmountBox, 0);
        EXPECT_FALSE(p.Plan());
        p.Choose(Preview::kAmountBox, 3);
        EXPECT_FALSE(p.Plan());
        p.Choose(Preview::kDecimalBox, 0);
        p.Import();
    };
    hooks.onReconciliationShown = [](Recon& r) {
        EXPECT_EQ(r.Text(Recon::kDifferenceValue), L"no se puede calcular");
        r.EndModal();
    };
    ASSERT_TRUE(Import(File(L"movimientos.csv", csv))) << Messages();
    EXPECT_EQ(sql.Rows("SELECT FECHA, DESCRIPCION, INGRESO, EGRESO, INGEGR FROM FINANZAS WHERE ID > 2 ORDER BY ID"),
              (std::vector<std::string>{"2026-04-03|DONATIVO|1200|0|1200", "2026-05-04|OBRAS DEL LOCAL|0|12000|-12000"}));
}

TEST_F(BankImport, TheReconciliationListsWhatTheBookAndTheBankDoNotShare) {
    ShowBankReconciliation(nullptr, host, db, Guarded({.onReconciliationShown = [](Recon&) {
                                                   ADD_FAILURE() << "nothing to reconcile";
                                               }}).onReconciliationShown);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, L"Todavía no se ha importado ningún extracto bancario con que cuadrar el libro.");

    // Cash spent on the 8th is in the book only; the grant is left out of the import.
    sql.Exec("INSERT INTO FINANZAS VALUES (NULL, '2026-01-08', 'FLORES', 0, 30, '2026-01-08', -30, 970.01)");
    hooks.onPreviewShown = [](Preview& p) {
        p.List().SetChecked(1, false);
        p.Import();
    };
    hooks.onReconciliationShown = [](Recon& r) { r.EndModal(); };
    ASSERT_TRUE(Import(File(L"enero.n43", Norma43File({January()}))));
    int shown = 0;
    ShowBankReconciliation(nullptr, host, db, Guarded({.onReconciliationShown = [&](Recon& r) {
        ++shown;
        EXPECT_EQ(r.Current().Difference(), 999999999 + 3000);
        EXPECT_EQ(r.Text(Recon::kDifferenceValue), L"10.000.029,99");
        EXPECT_TRUE(IsWindowVisible(r.Control(Recon::kBookOnlyList)));
        ASSERT_EQ(r.BookOnly().RowCount(), 1u);
        EXPECT_EQ(r.BookOnly().CellText(0, 1), L"FLORES");
        EXPECT_EQ(r.BookOnly().CellText(0, 3), L"30,00");
        ASSERT_EQ(r.FileOnly().RowCount(), 1u);
        EXPECT_EQ(Narrow(r.FileOnly().CellText(0, 1)), "SUBVENCIÓN");
        r.EndModal();
    }}).onReconciliationShown);
    EXPECT_EQ(shown, 1);
}

// The file of an outside script (tests/ledger/import_script_test.sh names
// it): three movements, the first already in the book, which starts at the
// file's initial balance.
// Through the window's menu, as the treasurer does it: every row written is
// an entry of the history that names the file, and the history still
// matches the book.
class BankImportScript : public LedgerTest {
protected:
    BankImportScript() : LedgerTest(L"es-ES") {}
};

TEST_F(BankImportScript, ThreeMovementsFromAnOutsideScript) {
    const char* file = std::getenv("ARC_IMPORT_N43");
    if (!file) GTEST_SKIP() << "run by import_script_test.sh";
    std::wstring difference;
    options.import = Guarded({.onPreviewShown = [](ImportPreviewWindow& p) { p.Import(); },
                              .onReconciliationShown = [&](ReconciliationWindow& r) {
                                  difference = r.Text(ReconciliationWindow::kDifferenceValue);
                                  r.EndModal();
                              }});
    {
        LedgerDatabase db(folder.Path());
        db.CONEXION();
        Sql sql(DbPath());
        sql.Exec("INSERT INTO FINANZAS VALUES (NULL, '2026-01-31', 'SALDO INICIAL', 1500, 0, '2026-01-31', 1500, 1500);"
                 "INSERT INTO FINANZAS VALUES (NULL, '2026-02-03', 'CUOTAS FEBRERO', 250, 0, '2026-02-03', 250, 1750)");
    }
    ASSERT_TRUE(Start());
    host.dialogAnswers.push_back(FromUtf8(file));
    form->RunCommand(static_cast<UINT>(Form1::Command::ImportStatement));
    Sql sql(DbPath());
    EXPECT_EQ(sql.Rows("SELECT FECHA, DESCRIPCION, INGRESO FROM FINANZAS WHERE ID > 2 ORDER BY ID"),
              (std::vector<std::string>{"2026-02-10|COMISIÓN MANTENIMIENTO|0", "2026-02-15|CORREOS SELLOS|0"}));
    auto real = [&](const char* query) { return std::strtod(sql.One(query).c_str(), nullptr); };
    EXPECT_EQ(real("SELECT EGRESO FROM FINANZAS WHERE ID = 3"), 7.62);
    EXPECT_EQ(real("SELECT INGEGR FROM FINANZAS WHERE ID = 3"), -7.62);
    EXPECT_EQ(real("SELECT ESTADO FROM FINANZAS WHERE ID = 3"), 1742.38);
    EXPECT_EQ(real("SELECT EGRESO FROM FINANZAS WHERE ID = 4"), 1.00);
    EXPECT_EQ(real("SELECT ESTADO FROM FINANZAS WHERE ID = 4"), 1741.38);
    EXPECT_EQ(difference, L"0,00");
    EXPECT_EQ(sql.Rows("SELECT OPERACION, ID, NOTA FROM HISTORIAL WHERE NUM > 1 ORDER BY NUM"),
              (std::vector<std::string>{"ALTA|3|EXTRACTO=extracto febrero.n43", "ALTA|4|EXTRACTO=extracto febrero.n43"}));
    EXPECT_TRUE(History::Verify(form->Database()).sound);

    host.dialogAnswers.push_back(FromUtf8(file));
    form->RunCommand(static_cast<UINT>(Form1::Command::ImportStatement));
    EXPECT_EQ(sql.One("SELECT COUNT(*) FROM FINANZAS"), "4");
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace arc::test
