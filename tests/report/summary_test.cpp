// The monthly summary: its months and quarters, the running fund, the chart
// it lays out, and the whole operation over a real ledger, whose PDF and
// spreadsheet copy hold the exact sums and the ledger's balance at each
// month's end.
#include "TestSupport.h"
#include "ledger/LedgerDatabase.h"
#include "ledger/MonthlySummaryLayout.h"
#include "ledger/MonthlySummaryReport.h"
#include "platform/report/ChartAxis.h"
#include "platform/report/Layout.h"
#include "platform/report/ValueFormat.h"
#include "platform/runtime/DateValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <regex>
#include <tuple>

namespace arc {
namespace {

MonthNumber Month(int year, int month) { return year * 12 + month - 1; }

TEST(ChartAxisScale, RoundStepsCoverTheValues) {
    for (auto [low, high, steps] : {std::tuple{0.0, 5000.01, 4}, {-120.9, 3879.12, 3}, {0.0, 0.37, 4}, {7.0, 7.0, 3}}) {
        report::ValueAxis axis = report::RoundAxis(low, high, steps);
        EXPECT_LE(axis.low, low);
        EXPECT_GE(axis.high, high);
        EXPECT_LT(axis.low, axis.high);
        EXPECT_LE(axis.Ticks().size(), static_cast<size_t>(steps) + 1) << low << ".." << high;
        double mantissa = std::round(axis.step / std::pow(10.0, std::floor(std::log10(axis.step))) * 100) / 100;
        EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 2.5 || mantissa == 5) << axis.step;
    }
    report::ValueAxis axis = report::RoundAxis(0, 5000.01, 4);
    EXPECT_EQ(axis.Ticks(), (std::vector<double>{0, 2000, 4000, 6000}));
    EXPECT_EQ(axis.Position(0, 3000, 600), 3000);
    EXPECT_EQ(axis.Position(6000, 3000, 600), 600);
    EXPECT_EQ(axis.Position(3000, 3000, 600), 1800);
}

TEST(MonthlySummaryFigures, EmptyMonthsAreZeroAndTheFundRunsOn) {
    std::vector<MonthTotals> months = {
        {Month(2026, 3), 400, 100, 300}, {Month(2026, 1), 50, 20, 30}, {Month(2025, 12), 9, 9, 9}};
    MonthlySummary s = SummarizeMonths(Month(2026, 1), Month(2026, 4), 100, months);
    EXPECT_FALSE(s.byQuarter);
    EXPECT_TRUE(s.hasMovements);
    ASSERT_EQ(s.periods.size(), 4u);
    const double funds[] = {130, 130, 430, 430};
    for (size_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(s.periods[i].fund, funds[i]) << i;
    EXPECT_EQ(s.periods[1].Label(), L"feb 2026");
    EXPECT_EQ(s.periods[1].income + s.periods[1].expense + s.periods[1].result, 0);
    EXPECT_EQ(s.periods[2].income, 400);

    EXPECT_FALSE(SummarizeMonths(Month(2026, 1), Month(2026, 2), 5, {}).hasMovements);
    MonthlySummary reversed = SummarizeMonths(Month(2026, 3), Month(2026, 1), 0, months);
    EXPECT_TRUE(reversed.periods.empty());
    EXPECT_FALSE(reversed.hasMovements);
}

TEST(MonthlySummaryFigures, OverTwoYearsByCalendarQuarterWithinTheRange) {
    EXPECT_FALSE(SummarizeMonths(Month(2024, 1), Month(2025, 12), 0, {}).byQuarter);
    std::vector<MonthTotals> months = {
        {Month(2024, 2), 10, 0, 10}, {Month(2024, 3), 5, 0, 5}, {Month(2024, 4), 0, 7, -7}, {Month(2026, 2), 1, 0, 1}};
    MonthlySummary s = SummarizeMonths(Month(2024, 2), Month(2026, 2), 0, months);
    EXPECT_TRUE(s.byQuarter);
    ASSERT_EQ(s.periods.size(), 9u);
    EXPECT_EQ(s.periods[0].Label(), L"feb-mar 2024");  // the quarter's months within the range
    EXPECT_EQ(s.periods[0].income, 15);
    EXPECT_EQ(s.periods[1].Label(), L"abr-jun 2024");
    EXPECT_EQ(s.periods[1].fund, 8);
    EXPECT_EQ(s.periods.back().Label(), L"ene-feb 2026");
    EXPECT_EQ(s.periods.back().fund, 9);
    EXPECT_NE(MonthlySummaryTitle(L"Club", s).find(L"\r\nPor trimestres"), std::wstring::npos);
    auto rows = MonthlySummaryRows(s);
    EXPECT_EQ(rows->Value(0, rows->FieldIndex(L"PERIODO")).AsText(), L"2024-02");
}

// The summary of January to March 2026 laid out on A4.
report::Layout SummaryOn(const MonthlySummary& s, const wchar_t* locale = L"es-ES") {
    Regional regional = RegionalFor(locale);
    return report::Layout(MonthlySummaryLayout(s, regional), MonthlySummaryRows(s), MonthlySummaryTitle(L"Club", s),
                          report::PageSetup::A4(kSummaryWidth), regional);
}

MonthlySummary ThreeMonths() {
    return SummarizeMonths(Month(2026, 1), Month(2026, 3), 1000,
                           {{Month(2026, 1), 1500, 500, 1000}, {Month(2026, 3), 3000, 6000, -3000}});
}

TEST(MonthlySummaryChartLayout, BarsToScaleInTheirSlotsAndTheFundLineOnTheSameAxis) {
    report::Layout layout = SummaryOn(ThreeMonths());
    report::PageContent page = layout.Content(0);
    auto income = page.FindAll(L"BarraIngreso"), expense = page.FindAll(L"BarraEgreso");
    ASSERT_EQ(income.size(), 2u);  // February has no bars
    ASSERT_EQ(expense.size(), 2u);
    EXPECT_EQ(income[0]->back, RGB(0, 128, 0));
    EXPECT_EQ(expense[0]->back, RGB(255, 0, 0));
    EXPECT_NEAR(static_cast<double>(income[1]->height) / income[0]->height, 2.0, 0.01);
    EXPECT_NEAR(static_cast<double>(expense[1]->height) / expense[0]->height, 12.0, 0.05);
    // Over one zero line, income left of expense, each pair in its month's slot.
    EXPECT_EQ(income[0]->top + income[0]->height, expense[1]->top + expense[1]->height);
    EXPECT_EQ(income[0]->left + income[0]->width, expense[0]->left);
    const report::PageItem* line = page.Find(L"LineaFondo");
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->points.size(), 3u);
    EXPECT_EQ(line->fore, RGB(0, 0, 192));
    EXPECT_EQ(line->points[0].x, income[0]->left + income[0]->width);
    EXPECT_EQ(line->points[2].x, income[1]->left + income[1]->width);
    EXPECT_EQ(line->points[0].y, line->points[1].y);  // nothing in February
    EXPECT_GT(line->points[2].y, line->points[1].y);  // from 2.000 down to -1.000
    // The months under the bars, the year once, and the amounts in Spanish.
    std::vector<std::wstring> months;
    for (auto* m : page.FindAll(L"EjeMes")) months.push_back(m->Text());
    EXPECT_EQ(months, (std::vector<std::wstring>{L"ene", L"feb", L"mar"}));
    ASSERT_EQ(page.FindAll(L"EjeAño").size(), 1u);
    EXPECT_EQ(page.Find(L"EjeAño")->Text(), L"2026");
    EXPECT_EQ(page.FindAll(L"EjeImportes").back()->Text(), L"6.000");
    EXPECT_EQ(SummaryOn(ThreeMonths(), L"en-US").Content(0).FindAll(L"EjeImportes").back()->Text(), L"6,000");
    // Everything within the body, the table below the chart.
    const auto& sheet = layout.Page();
    for (const auto& item : page.items) {
        EXPECT_GE(item.left, sheet.left) << item.name.c_str();
        EXPECT_LE(item.left + item.width, sheet.width - sheet.right) << item.name.c_str();
        for (const POINT& p : item.points) EXPECT_LE(p.x, sheet.width - sheet.right);
    }
    EXPECT_GT(page.Find(L"TituloPeriodo")->top, page.FindAll(L"EjeFondo").back()->top + 200);
    // The table: an empty month as zero, the totals and the fund at the end.
    auto rows = page.FindAll(L"Fondo");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2]->Text(), L"-1.000");
    EXPECT_EQ(page.FindAll(L"Ingreso")[1]->Text(), L"0");
    EXPECT_EQ(page.Find(L"TotalEgreso")->Text(), L"6.500");
    EXPECT_EQ(page.Find(L"FondoFinal")->Text(), L"-1.000");
}

TEST(MonthlySummaryChartLayout, LabelsOnCalendarStepsThatFit) {
    auto labels = [](MonthNumber first, MonthNumber last, const wchar_t* name) {
        std::vector<MonthTotals> months;
        for (MonthNumber m = first; m <= last; ++m) months.push_back({m, 100, 50, 50});
        std::wstring out;
        report::PageContent page = SummaryOn(SummarizeMonths(first, last, 0, months)).Content(0);
        for (auto* item : page.FindAll(name)) out += item->Text() + L" ";
        return out;
    };
    EXPECT_EQ(labels(Month(2024, 2), Month(2025, 12), L"EjeMes"),
              L"mar may jul sep nov ene mar may jul sep nov ");
    EXPECT_EQ(labels(Month(2024, 2), Month(2025, 12), L"EjeAño"), L"2024 2025 ");
    EXPECT_EQ(labels(Month(2023, 11), Month(2026, 12), L"EjeMes"), L"T1 T2 T3 T4 T1 T2 T3 T4 T1 T2 T3 T4 ");
    EXPECT_EQ(labels(Month(2000, 1), Month(2009, 12), L"EjeMes"), L"");
    EXPECT_EQ(labels(Month(2000, 1), Month(2009, 12), L"EjeAño"),
              L"2000 2001 2002 2003 2004 2005 2006 2007 2008 2009 ");
}

TEST(MonthlySummaryChartLayout, MonthsWithoutMovementsSaySoInsteadOfAChart) {
    report::PageContent page = SummaryOn(SummarizeMonths(Month(2026, 1), Month(2026, 2), 75, {})).Content(0);
    ASSERT_NE(page.Find(L"Aviso"), nullptr);
    EXPECT_EQ(page.Find(L"Aviso")->Text(), L"No hay movimientos en estos meses.");
    EXPECT_EQ(page.Find(L"LineaFondo"), nullptr);
    EXPECT_TRUE(page.FindAll(L"BarraIngreso").empty());
    EXPECT_EQ(page.FindAll(L"Fondo").back()->Text(), L"75");
    page = SummaryOn(SummarizeMonths(Month(2026, 2), Month(2026, 1), 75, {})).Content(0);
    EXPECT_NE(page.Find(L"Aviso")->Text().find(L"«Desde» es posterior a «Hasta»"), std::wstring::npos);
    EXPECT_EQ(page.Find(L"FondoFinal")->Text(), L"");
}

class SummaryOperation : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"Form1", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        db_ = std::make_unique<LedgerDatabase>(folder_.Path());
        db_->CONEXION();
        // Keyed in out of date order, around and inside January to March.
        const wchar_t* rows[][2] = {
            {L"2026-03-01", L"5000"},   {L"2025-12-20", L"1000"},    {L"2026-01-15", L"-450.75"},
            {L"2026-02-14", L"-2000"},  {L"2026-01-01", L"1200.25"}, {L"2025-11-05", L"-250.50"},
            {L"2026-03-31", L"-999.99"}, {L"2026-01-31", L"300"},     {L"2026-02-28", L"80.10"},
            {L"2026-04-01", L"777"},    {L"2026-03-31", L"0.01"},
        };
        for (auto& r : rows) {
            std::wstring amount = r[1];
            bool income = amount[0] != L'-';
            std::wstring in = income ? amount : L"0", out = income ? L"0" : amount.substr(1);
            db_->Execute(L"INSERT INTO FINANZAS VALUES (NULL, '" + std::wstring(r[0]) + L"', 'M', " + in + L", " +
                         out + L", '2026-04-02', " + amount + L", 0)");
        }
        db_->ACTUALIZAR_BD();
    }
    void TearDown() override { DestroyWindow(owner_); }

    // The ledger's own figure, formatted as the summary prints amounts.
    std::wstring Ledger(const std::wstring& select) {
        db_->CONEXION();
        auto rs = db_->OpenRecordset(L"SELECT TOTAL(" + select);
        return report::FormatValue(rs->At(0, 0), L"#,##0.##", host_.Regional());
    }

    test::TempFolder folder_;
    test::TestHost host_{folder_.Path(), L"es-ES"};
    HWND owner_ = nullptr;
    std::unique_ptr<LedgerDatabase> db_;
};

TEST_F(SummaryOperation, PreviewPdfAndSpreadsheetHoldTheLedgersSumsAndBalances) {
    report::PreviewOptions options;
    options.chooseSaveFile = [&](HWND, const std::wstring& extension) { return folder_ / (L"resumen." + extension); };
    bool shown = false;
    options.onShown = [&](report::PreviewWindow& preview) {
        shown = !IsWindowEnabled(owner_);
        preview.SavePdf();
        preview.SaveCsv();
        preview.Close();
    };
    ASSERT_TRUE(RunMonthlySummary(owner_, host_, *db_, DateSerial(2026, 1, 15), DateSerial(2026, 3, 10),
                                  L"Club Náutico", options));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(host_.messages.empty());
    std::string pdf = test::ReadBytes(folder_ / L"resumen.pdf");
    auto shows = [&](const std::wstring& text) {
        std::string shown(1, '(');
        shown.append(text.begin(), text.end());
        return pdf.find(shown + ") Tj") != std::string::npos;
    };
    EXPECT_TRUE(shows(L"De enero de 2026 a marzo de 2026"));
    // Each whole month's sums and the ledger's balance at its end.
    const wchar_t* ends[] = {L"2026-01-31", L"2026-02-31", L"2026-03-31"};
    const wchar_t* names[] = {L"ene 2026", L"feb 2026", L"mar 2026"};
    for (int m = 0; m < 3; ++m) {
        std::wstring month = std::wstring(ends[m]).substr(0, 8);
        std::wstring within = L" FROM FINANZAS WHERE FECHA BETWEEN '" + month + L"01' AND '" + ends[m] + L"'";
        EXPECT_TRUE(shows(names[m]));
        for (const wchar_t* column : {L"INGRESO)", L"EGRESO)", L"INGEGR)"})
            EXPECT_TRUE(shows(Ledger(column + within))) << names[m] << " " << column;
        EXPECT_TRUE(shows(Ledger(std::wstring(L"INGEGR) FROM FINANZAS WHERE FECHA <= '") + ends[m] + L"'")))
            << "fund at the end of " << names[m];
    }
    EXPECT_TRUE(shows(L"6.580,36") && shows(L"3.450,74") && shows(L"3.129,62") && shows(L"3.879,12"));
    // The bars as filled paths in the amount headings' colours: three months
    // and the legend's sample each; the fund as a stroked line.
    auto fills = [&](const char* colour) {
        std::regex bar(std::string("\n") + colour + " rg [-0-9. ]+ re f\n");
        return std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), bar), std::sregex_iterator());
    };
    EXPECT_EQ(fills("0 0.5 0"), 4);
    EXPECT_EQ(fills("1 0 0"), 4);
    EXPECT_TRUE(std::regex_search(pdf, std::regex("0 0 0.75 RG 1.5 w 1 j 1 J [0-9.]+ [0-9.]+ m( [0-9.]+ [0-9.]+ l){2} S")));

    EXPECT_EQ(test::ReadBytes(folder_ / L"resumen.csv"),
              "\xEF\xBB\xBFMes;Ingreso;Egreso;Resultado;Fondo al cierre\r\n"
              "2026-01;1500,25;450,75;1049,5;1799\r\n"
              "2026-02;80,1;2000;-1919,9;-120,9\r\n"
              "2026-03;5000,01;999,99;4000,02;3879,12\r\n"
              "Total;6580,36;3450,74;3129,62;3879,12\r\n");
}

TEST_F(SummaryOperation, AFailureShowsOneMessageAndNoPreview) {
    db_ = std::make_unique<LedgerDatabase>(folder_.Path() + L"\\no existe");
    report::PreviewOptions options;
    options.onShown = [](report::PreviewWindow& preview) { preview.Close(); };
    EXPECT_FALSE(RunMonthlySummary(owner_, host_, *db_, DateSerial(2026, 1, 1), DateSerial(2026, 3, 31), L"", options));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text.rfind(L"Se ha producido el error '", 0), 0u);
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

}  // namespace
}  // namespace arc
