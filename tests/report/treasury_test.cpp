// The treasury report operation over a real ledger database: the query and
// title it composes, the rows it keeps in the window's record set (the range
// with both limits, date order, none when DESDE is after HASTA), the report
// shown modally, and failures reported once without touching the window.
#include "TestSupport.h"
#include "ledger/LedgerDatabase.h"
#include "ledger/TreasuryReport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/CsvWriter.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/DateValue.h"

#include <gtest/gtest.h>

#include <memory>

namespace arc {
namespace {

TEST(TreasuryQueryText, ComposedExactlyForARange) {
    EXPECT_EQ(TreasuryQuery(DateSerial(2026, 1, 1), DateSerial(2026, 1, 31)),
              L"select FECHA, DESCRIPCION, INGRESO, EGRESO, INGEGR, ESTADO FROM FINANZAS WHERE FECHA BETWEEN "
              L"'2026-01-01' AND '2026-01-31' ORDER BY FECHA");
    EXPECT_EQ(TreasuryQuery(DateSerial(999, 3, 4), DateSerial(2026, 12, 9)).substr(93), L"'0999-03-04' AND '2026-12-09' ORDER BY FECHA");
}

TEST(TreasuryTitleText, ThreeLinesWithLongDates) {
    double from = DateSerial(2026, 1, 1), to = DateSerial(2026, 1, 31);
    EXPECT_EQ(TreasuryTitle(L"Club Náutico", from, to, RegionalFor(L"es-ES")),
              L"Club Náutico\r\nInforme de arcandora\r\nDesde jueves, 1 de enero de 2026, hasta sábado, 31 de enero de 2026");
    EXPECT_EQ(TreasuryTitle(L"", from, to, RegionalFor(L"en-US")),
              L"\r\nInforme de arcandora\r\nDesde Thursday, January 1, 2026, hasta Saturday, January 31, 2026");
}

// The spreadsheet copy of the treasury report: a description that a
// spreadsheet would run as a formula stays text, numbers (negative ones
// included) stay numbers, and the totals line says that the sum under
// Estado is the range's balance, not the fund.
TEST(TreasurySpreadsheetCopy, FormulaLikeTextsStayTextAndTheTotalsLineSaysWhatItSums) {
    test::TableSource rows({L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"INGEGR", L"ESTADO"});
    using data::Value;
    const wchar_t* texts[] = {L"=HIPERVINCULO(\"http://x\")", L"+34 600 000 000", L"-CUOTA", L"@SUMA(A1)",
                              L"\t=1+1", L"CUOTA = 10"};
    double fund = 1000;
    for (const wchar_t* text : texts) {
        fund -= 2.5;
        rows.Add({Value::Text(L"2026-01-05"), Value::Text(text), Value::Real(0), Value::Real(2.5), Value::Real(-2.5),
                  Value::Real(fund)});
    }
    const std::string csv = CsvDocument(rows, TreasuryReportLayout().exportColumns, RegionalFor(L"es-ES"));
    EXPECT_EQ(csv, "\xEF\xBB\xBF" + ToUtf8(std::wstring(L"Fecha;Descripción;Ingreso;Egreso;Estado\r\n"
                                                       L"2026-01-05;\"'=HIPERVINCULO(\"\"http://x\"\")\";0;2,5;997,5\r\n"
                                                       L"2026-01-05;'+34 600 000 000;0;2,5;995\r\n"
                                                       L"2026-01-05;'-CUOTA;0;2,5;992,5\r\n"
                                                       L"2026-01-05;'@SUMA(A1);0;2,5;990\r\n"
                                                       L"2026-01-05;'\t=1+1;0;2,5;987,5\r\n"
                                                       L"2026-01-05;CUOTA = 10;0;2,5;985\r\n"
                                                       L";\"") + kCsvTotalsLabel + L"\";0;15;-15\r\n"));
    EXPECT_NE(std::wstring(kCsvTotalsLabel).find(L"no es el fondo"), std::wstring::npos);
}

class TreasuryOperation : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"Form1", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        db_ = std::make_unique<LedgerDatabase>(folder_.Path());
        db_->CONEXION();
        // Keyed in out of date order; the balance follows the order of entry.
        const wchar_t* rows[][3] = {
            {L"2026-01-31", L"CUOTA ULTIMO DIA", L"200"}, {L"2025-12-31", L"ANTES", L"50"},
            {L"2026-01-10", L"LUZ", L"-80"},             {L"2026-01-01", L"CUOTA PRIMER DIA", L"100"},
            {L"2026-02-01", L"DESPUES", L"70"},          {L"2026-01-10", L"AGUA", L"-30"},
        };
        double fund = 0;
        for (auto& r : rows) {
            double amount = std::stod(r[2]);
            fund += amount;
            std::wstring in = amount > 0 ? r[2] : L"0", out = amount < 0 ? std::wstring(r[2]).substr(1) : L"0";
            db_->Execute(L"INSERT INTO FINANZAS VALUES (NULL, '" + std::wstring(r[0]) + L"', '" + r[1] + L"', " + in +
                         L", " + out + L", '2026-02-02', " + r[2] + L", " + std::to_wstring(fund) + L")");
        }
        dayView_ = db_->OpenRecordset(L"SELECT ID FROM FINANZAS");
        recordset_ = dayView_;
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Runs the operation, closing the preview as soon as it shows.
    bool Run(double from, double to, const std::wstring& entity = L"Club") {
        test::FixedDateField desde(from), hasta(to);
        report::PreviewOptions options;
        options.onShown = [&](report::PreviewWindow& w) {
            ++shows_;
            pages_ = w.PageCount();
            ownerDisabled_ = !IsWindowEnabled(owner_);
            PostMessageW(w.Hwnd(), WM_CLOSE, 0, 0);
        };
        return RunTreasuryReport(owner_, host_, *db_, desde, hasta, entity, recordset_, REPORT_, options);
    }
    std::vector<std::wstring> Descriptions() const {
        std::vector<std::wstring> out;
        for (size_t r = 0; r < recordset_->RecordCount(); ++r) out.push_back(recordset_->At(r, 1).AsText());
        return out;
    }

    test::TempFolder folder_;
    test::TestHost host_{folder_.Path(), L"es-ES"};
    HWND owner_ = nullptr;
    std::unique_ptr<LedgerDatabase> db_;
    std::shared_ptr<data::Recordset> dayView_, recordset_;
    std::unique_ptr<report::Report> REPORT_;
    int shows_ = 0;
    size_t pages_ = 0;
    bool ownerDisabled_ = false;
};

TEST_F(TreasuryOperation, RangeWithBothLimitsInDateOrder) {
    ASSERT_TRUE(Run(DateSerial(2026, 1, 1), DateSerial(2026, 1, 31), L"Club Náutico"));
    EXPECT_EQ(shows_, 1);
    EXPECT_TRUE(ownerDisabled_);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_TRUE(host_.messages.empty());
    // The window's record-set variable holds the report's rows, with the ledger's settings.
    ASSERT_NE(recordset_, dayView_);
    EXPECT_EQ(recordset_->CursorLocation, data::adUseClient);
    EXPECT_EQ(recordset_->LockType, data::adLockOptimistic);
    EXPECT_EQ(recordset_->CursorType, data::adOpenDynamic);
    ASSERT_EQ(recordset_->FieldCount(), 6u);
    const wchar_t* fields[] = {L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"INGEGR", L"ESTADO"};
    for (size_t f = 0; f < 6; ++f) EXPECT_EQ(recordset_->FieldName(f), fields[f]);
    auto d = Descriptions();
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d.front(), L"CUOTA PRIMER DIA");
    EXPECT_EQ(d.back(), L"CUOTA ULTIMO DIA");
    EXPECT_EQ(recordset_->At(1, 0).AsText(), L"2026-01-10");
    // The report object: created, titled, fed with this record set.
    ASSERT_NE(REPORT_, nullptr);
    EXPECT_EQ(REPORT_->Title(),
              L"Club Náutico\r\nInforme de arcandora\r\nDesde jueves, 1 de enero de 2026, hasta sábado, 31 de enero de 2026");
    EXPECT_EQ(REPORT_->Source()->RowCount(), 4u);
    EXPECT_EQ(pages_, 1u);
    // "Total Saldo:" sums the signed amounts of the range: 100 - 80 - 30 + 200.
    auto layout = REPORT_->Paginate(host_.Regional(), report::PageSetup::A4(11175));
    EXPECT_DOUBLE_EQ(layout.SumOf(L"Función3"), 190);
    EXPECT_EQ(layout.Content(0).Find(L"Función3")->Text(), L"190");
}

TEST_F(TreasuryOperation, DesdeAfterHastaGivesAnEmptyReport) {
    ASSERT_TRUE(Run(DateSerial(2026, 1, 31), DateSerial(2026, 1, 1)));
    EXPECT_EQ(shows_, 1);
    EXPECT_EQ(recordset_->RecordCount(), 0u);
    EXPECT_EQ(pages_, 1u);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(TreasuryOperation, SecondClickReusesTheReportWithTheNewRange) {
    ASSERT_TRUE(Run(DateSerial(2026, 1, 1), DateSerial(2026, 1, 31), L""));
    report::Report* first = REPORT_.get();
    ASSERT_TRUE(Run(DateSerial(2026, 1, 10), DateSerial(2026, 2, 1), L""));
    EXPECT_EQ(REPORT_.get(), first);
    EXPECT_EQ(shows_, 2);
    EXPECT_EQ(Descriptions().size(), 4u);  // LUZ, AGUA, ULTIMO DIA, DESPUES
    EXPECT_EQ(REPORT_->Title().rfind(L"\r\nInforme de arcandora\r\nDesde sábado, 10 de enero de 2026", 0), 0u);
}

TEST_F(TreasuryOperation, MissingDatabaseFolderShowsOneMessageAndChangesNothing) {
    db_ = std::make_unique<LedgerDatabase>(folder_.Path() + L"\\no existe");
    EXPECT_FALSE(Run(DateSerial(2026, 1, 1), DateSerial(2026, 1, 31)));
    EXPECT_EQ(shows_, 0);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text.rfind(L"Se ha producido el error '", 0), 0u);
    EXPECT_GT(host_.messages[0].text.size(), 12u);  // number and description
    EXPECT_EQ(host_.messages[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(recordset_, dayView_);
    EXPECT_EQ(REPORT_, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(TreasuryOperation, FailingQueryShowsOneMessageAndKeepsTheDayView) {
    db_->Execute(L"DROP TABLE FINANZAS");
    db_->Execute(L"CREATE TABLE FINANZAS (ID INTEGER PRIMARY KEY, OTRA TEXT)");
    EXPECT_FALSE(Run(DateSerial(2026, 1, 1), DateSerial(2026, 1, 31)));
    EXPECT_EQ(shows_, 0);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].text.find(L"FECHA"), std::wstring::npos) << host_.messages[0].text.c_str();
    EXPECT_EQ(recordset_, dayView_);
    // The day view's rows are still readable.
    EXPECT_EQ(recordset_->RecordCount(), 6u);
}

}  // namespace
}  // namespace arc
