// Reading bank statement files: Norma 43 as banks write it (and as they
// get it wrong), and CSV exports whose layout the file leaves open.
#include "ledger/BookMatching.h"
#include "ledger/CsvStatementReader.h"
#include "ledger/Norma43Reader.h"
#include "support/StatementFiles.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"

#include <gtest/gtest.h>

#include <functional>

namespace arc::test {
namespace {

const Regional& Es() {
    static const Regional r = RegionalFor(L"es-ES");
    return r;
}

std::string Narrow(const std::wstring& w) { return ToUtf8(w); }

// Two accounts; the first with concepts in Windows-1252 over two 23 lines,
// the smallest and the largest amount, a movement without concept lines.
std::vector<N43Account> TwoAccounts() {
    N43Account first;
    first.from = "260101";
    first.to = "260131";
    first.initialCents = 100000;
    first.holder = L"ASOCIACIÓN NIÑOS";
    first.movements = {
        {"260105", 1, {L"TRANSFERENCIA DE  CUOTA AÑO 2026           SEGUNDA MITAD", L"PEÑA EL CAÑÓN"}},
        {"260112", 999999999, {L"SUBVENCIÓN"}},
        {"260120", -4520, {}, 3, "REC123", "LUZ ENERO"},
    };
    N43Account second;
    second.account = "0200099999";
    second.from = "260101";
    second.to = "260131";
    second.initialCents = -2500;
    second.movements = {{"260110", -100, {L"COMISION"}}};
    return {first, second};
}

TEST(Norma43Reader, ReadsEveryAccountWithExactAmountsAndTheConceptsAsWritten) {
    for (const N43Options& options : {N43Options{}, N43Options{"\n", true, true}}) {
        const auto accounts = ReadNorma43(FromFileBytes(Norma43File(TwoAccounts(), options)), Es());
        ASSERT_EQ(accounts.size(), 2u);
        const AccountStatement& a = accounts[0];
        EXPECT_EQ(a.bank + L"|" + a.branch + L"|" + a.account, L"2100|0418|0200051332");
        EXPECT_EQ(Narrow(a.holder), "ASOCIACIÓN NIÑOS");
        EXPECT_EQ(a.firstDate, DateSerial(2026, 1, 1));
        EXPECT_EQ(a.lastDate, DateSerial(2026, 1, 31));
        EXPECT_EQ(*a.initialCents, 100000);
        EXPECT_EQ(*a.finalCents, 100000 + 1 + 999999999 - 4520);
        ASSERT_EQ(a.movements.size(), 3u);
        EXPECT_EQ(a.movements[0].cents, 1);
        EXPECT_EQ(a.movements[1].cents, 999999999);
        EXPECT_EQ(a.movements[2].cents, -4520);
        EXPECT_EQ(a.movements[2].date, DateSerial(2026, 1, 20));
        // Each half trimmed, joined by single blanks, lines in order; with no
        // concept lines, the common concept and the references.
        EXPECT_EQ(Narrow(a.movements[0].wording), "TRANSFERENCIA DE  CUOTA AÑO 2026 SEGUNDA MITAD PEÑA EL CAÑÓN");
        EXPECT_EQ(Narrow(a.movements[2].wording), "Domiciliados/recibos/letras/pagos por su cuenta REC123 LUZ ENERO");
        EXPECT_EQ(*accounts[1].initialCents, -2500);
        EXPECT_EQ(*accounts[1].finalCents, -2600);
    }
}

TEST(Norma43Reader, FingerprintsDependOnTheLinesNotOnHowTheFileEndsThem) {
    auto base = TwoAccounts();
    base[0].movements.push_back(base[0].movements[2]);  // the same charge twice on one day
    const auto crlf = ReadNorma43(FromFileBytes(Norma43File(base)), Es());
    const auto lf = ReadNorma43(FromFileBytes(Norma43File(base, {"\n", true})), Es());
    ASSERT_EQ(crlf[0].movements.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(crlf[0].movements[i].fingerprint, lf[0].movements[i].fingerprint);
    EXPECT_EQ(crlf[0].fingerprint, lf[0].fingerprint);
    EXPECT_NE(crlf[0].movements[2].fingerprint, crlf[0].movements[3].fingerprint);
    EXPECT_NE(crlf[0].fingerprint, crlf[1].fingerprint);
}

TEST(Norma43Reader, RefusesAFileThatIsCutAlteredOrDoesNotAddUpNamingTheLine) {
    struct Case {
        const char* name;
        std::function<std::string()> file;
        int line;
        const char* says;
    };
    auto withAccounts = [](auto change) {
        return [change] {
            auto accounts = TwoAccounts();
            change(accounts);
            return Norma43File(accounts);
        };
    };
    auto replaced = [](int line, size_t at, const std::string& text) {
        return [=] {
            std::string file = Norma43File(TwoAccounts());
            file.replace(static_cast<size_t>(line - 1) * 82 + at - 1, text.size(), text);
            return file;
        };
    };
    const Case cases[] = {
        {"totals", withAccounts([](auto& a) { a[0].claimedDebits = 4000; }), 8, "dice 1 cargo que suman 40,00"},
        {"balance", withAccounts([](auto& a) { a[0].claimedFinal = 5; }), 8, "saldo final del banco es 0,05"},
        {"amount", replaced(2, 29, "00000000A00001"), 2, "el importe (posiciones 29 a 42) no es un número"},
        {"date", replaced(2, 11, "261332"), 2, "no es una fecha"},
        {"sign", replaced(2, 28, "7"), 2, "debe ser 1 (cargo) o 2 (abono)"},
        {"account", replaced(8, 20, "9"), 8, "es de la cuenta"},
        {"type", replaced(3, 1, "45"), 3, "no es un tipo de registro"},
        {"count", replaced(13, 26, "9"), 13, "cuenta 19 registros"},
        {"cut", [] { std::string f = Norma43File(TwoAccounts()); return f.substr(0, 82 * 6); }, 0, "sin el registro final (33)"},
        {"long", replaced(3, 81, "X"), 3, "caracteres"},
    };
    for (const Case& c : cases) {
        try {
            ReadNorma43(FromFileBytes(c.file()), Es());
            ADD_FAILURE() << c.name << ": read without complaint";
        } catch (const StatementError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.name << ": " << Narrow(e.Description());
            EXPECT_NE(Narrow(e.Description()).find(c.says), std::string::npos) << c.name << ": " << Narrow(e.Description());
        }
    }
}

TEST(Norma43Reader, IsToldApartFromACsvWhoseHolderHasACommaAsWellAsFromOne) {
    auto accounts = TwoAccounts();
    accounts[0].holder = L"CLUB, S.L.";
    EXPECT_TRUE(LooksLikeNorma43(FromFileBytes(Norma43File(accounts, {"\r\n", false, true}))));
    EXPECT_FALSE(LooksLikeNorma43(L"11/02/2026;RECIBO;-45,20\r\n"));
}

// A Spanish bank's export: a heading before the table, newest first, a
// balance column, amounts with grouping.
const std::vector<std::vector<std::wstring>> kSpanishCsv = {
    {L"Movimientos de la cuenta ES12 2100 0418 0200 0513 32"},
    {L"F. Operación", L"F. Valor", L"Concepto", L"Importe", L"Saldo"},
    {L"15/01/2026", L"15/01/2026", L"RECIBO; LUZ", L"-1.045,20", L"9.000,00"},
    {L"13/01/2026", L"14/01/2026", L"CUOTA", L"45,20", L"10.045,20"},
    {L"02/01/2026", L"02/01/2026", L"INGRESO", L"0,01", L"10.000,00"},
};

TEST(CsvStatementReader, FindsTheLayoutOfASpanishExportAndReadsItOldestFirst) {
    const std::wstring text = FromFileBytes(CsvFile(kSpanishCsv, L';'));
    ASSERT_EQ(DetectSeparator(text), L';');
    const CsvTable table = SplitCsv(text, L';');
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.lines.front(), 3);
    const CsvLayout layout = GuessLayout(table);
    EXPECT_EQ(layout.date, 0);  // the operation date, not the value date
    EXPECT_EQ(layout.wording, 2);
    EXPECT_EQ(layout.amount, 3);
    EXPECT_EQ(layout.balance, 4);
    EXPECT_EQ(layout.decimal, L',');
    EXPECT_EQ(layout.order, DateOrder::DayMonthYear);
    const AccountStatement s = ReadCsvStatement(table, layout, Es());
    ASSERT_EQ(s.movements.size(), 3u);
    EXPECT_EQ(s.movements[0].cents, 1);
    EXPECT_EQ(s.movements[1].cents, 4520);
    EXPECT_EQ(s.movements[2].cents, -104520);
    EXPECT_EQ(Narrow(s.movements[2].wording), "RECIBO; LUZ");
    EXPECT_EQ(s.movements[2].line, 3);
    EXPECT_EQ(*s.initialCents, 999999);
    EXPECT_EQ(*s.finalCents, 900000);
    EXPECT_EQ(s.firstDate, DateSerial(2026, 1, 2));
    EXPECT_EQ(s.lastDate, DateSerial(2026, 1, 15));
}

TEST(CsvStatementReader, LeavesOpenWhatTheFileCannotTellAndReadsItOnceChosen) {
    // "1.200" may be a thousand two hundred or one point two; 03/04 the 3rd of April or the 4th of March.
    const std::vector<std::vector<std::wstring>> rows = {
        {L"Fecha", L"Concepto", L"Importe"},
        {L"03/04/2026", L"UNO", L"1.200"},
        {L"04/05/2026", L"DOS", L"-12.000"},
    };
    const CsvTable table = SplitCsv(FromFileBytes(CsvFile(rows, L';')), L';');
    CsvLayout layout = GuessLayout(table);
    EXPECT_EQ(layout.decimal, 0);
    EXPECT_EQ(layout.order, DateOrder::Undecided);
    EXPECT_THROW(ReadCsvStatement(table, layout, Es()), StatementError);
    layout.order = DateOrder::DayMonthYear;
    EXPECT_THROW(ReadCsvStatement(table, layout, Es()), StatementError);
    layout.decimal = L',';
    AccountStatement s = ReadCsvStatement(table, layout, Es());
    EXPECT_EQ(s.movements[0].cents, 120000);
    EXPECT_EQ(s.movements[1].cents, -1200000);
    EXPECT_EQ(s.movements[0].date, DateSerial(2026, 4, 3));
    layout.decimal = L'.';
    layout.order = DateOrder::MonthDayYear;
    s = ReadCsvStatement(table, layout, Es());
    EXPECT_EQ(s.movements[0].cents, 120);
    EXPECT_EQ(s.movements[1].cents, -1200);
    EXPECT_EQ(s.movements[0].date, DateSerial(2026, 3, 4));

    // The same dates with a day past 12, the amounts with two decimals: nothing left open.
    const CsvTable english = SplitCsv(L"Date,Description,Amount\r\n03/14/2026,\"Dues, March\",\"1,234.56\"\r\n", L',');
    layout = GuessLayout(english);
    EXPECT_EQ(layout.decimal, L'.');
    EXPECT_EQ(layout.order, DateOrder::MonthDayYear);
    EXPECT_EQ(ReadCsvStatement(english, layout, Es()).movements[0].cents, 123456);
}

TEST(CsvStatementReader, RefusesABalanceThatIsNotTheOneBeforePlusTheAmountAndAShiftedRow) {
    auto rows = kSpanishCsv;
    rows[3][4] = L"10.045,21";
    const CsvTable table = SplitCsv(FromFileBytes(CsvFile(rows, L';')), L';');
    try {
        ReadCsvStatement(table, GuessLayout(table), Es());
        ADD_FAILURE() << "a broken balance read";
    } catch (const StatementError& e) {
        EXPECT_EQ(e.Line(), 3) << Narrow(e.Description());
    }
    // A text with the separator and no quotes shifts the row's columns.
    try {
        SplitCsv(L"Fecha;Concepto;Importe\r\n02/01/2026;A;1,00\r\n03/01/2026;B;C;2,00\r\n", L';');
        ADD_FAILURE() << "a shifted row read";
    } catch (const StatementError& e) {
        EXPECT_EQ(e.Line(), 3);
    }
}

TEST(BookMatching, ADescriptionMatchesTheBanksConceptAsAPersonWouldReadIt) {
    EXPECT_TRUE(DescriptionsMatch(L"Recibo de la luz", L"RECIBO DE LA LUZ"));
    EXPECT_TRUE(DescriptionsMatch(L"CUOTA AÑO 2026", L"cuota ano 2026."));
    EXPECT_TRUE(DescriptionsMatch(L"ALQUILER SALÓN", L"ALQUI LER SALON"));  // a word cut by the concept lines
    EXPECT_TRUE(DescriptionsMatch(L"RECIBO LUZ", L"RECIBO LUZ ENERO 2026"));
    EXPECT_FALSE(DescriptionsMatch(L"LUZ", L"RECIBO LUZ ENERO"));  // too short to stand for it
    EXPECT_FALSE(DescriptionsMatch(L"RECIBO LU", L"RECIBO LUZ ENERO"));
    EXPECT_FALSE(DescriptionsMatch(L"", L""));
}

// Two withdrawals of one day and amount need two rows of the book; a line
// imported before takes its own row first, whatever its description.
TEST(BookMatching, EachBookRowStandsForOneMovementAndKnownLinesComeFirst) {
    const double day = DateSerial(2026, 1, 7);
    std::vector<BankMovement> movements = {{2, day, -2000, L"CAJERO", "a"}, {4, day, -2000, L"CAJERO", "b"},
                                           {6, day, -2000, L"CAJERO", "c"}};
    const std::vector<BookRow> book = {{10, L"2026-01-07", -2000, L"CAJERO"}, {11, L"2026-01-07", -2000, L"GASOLINA"},
                                       {12, L"2026-01-07", -2000, L"CAJERO"}, {13, L"2026-01-07", 2000, L"CAJERO"}};
    EXPECT_EQ(MatchBook(movements, book, {}, MatchRule::LineOrDescription), (std::vector<std::int64_t>{10, 12, 0}));
    EXPECT_EQ(MatchBook(movements, book, {{"c", {10}}, {"b", {11}}}, MatchRule::LineOrDescription),
              (std::vector<std::int64_t>{12, 11, 10}));
    EXPECT_EQ(MatchBook(movements, book, {}, MatchRule::AlsoAmountAlone), (std::vector<std::int64_t>{10, 12, 11}));
}

}  // namespace
}  // namespace arc::test
