// Pagination and page content of the treasury report without a screen:
// where every control lands on the first and on a later page, a long
// description making its detail taller, page breaks, the footer once at the
// end, and the sums over every record.
#include "TestSupport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/Layout.h"
#include "platform/report/TextMetrics.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace arc::report {
namespace {

using test::TableSource;

const wchar_t* const kTitle = L"Club Náutico\r\nInforme de arcandora\r\nDesde lunes, 5 de enero de 2026, hasta sábado, 31 de enero de 2026";

// Rows with the report's fields; row i is dated in January, income on even
// rows and expense on odd ones, the balance stored as 1000 + i.
std::shared_ptr<TableSource> Movements(size_t count, const std::wstring& longDescriptionAt = L"", size_t at = 0) {
    auto t = std::make_shared<TableSource>(
        std::vector<std::wstring>{L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"INGEGR", L"ESTADO"});
    for (size_t i = 0; i < count; ++i) {
        double in = i % 2 == 0 ? 100.0 + i : 0, out = i % 2 == 1 ? 40.0 : 0;
        wchar_t date[16];
        swprintf(date, 16, L"2026-01-%02d", static_cast<int>(1 + i % 28));
        std::wstring text = !longDescriptionAt.empty() && i == at ? longDescriptionAt : L"CUOTA " + std::to_wstring(i);
        t->Add({data::Value::Text(date), data::Value::Text(text), data::Value::Real(in), data::Value::Real(out),
                data::Value::Real(in - out), data::Value::Real(1000.0 + i)});
    }
    return t;
}

Layout TreasuryOn(std::shared_ptr<TableSource> rows, const std::wstring& title = kTitle) {
    return Layout(arc::TreasuryReportLayout(), rows, title, PageSetup::A4(11175), RegionalFor(L"es-ES"));
}

// A4 without a printer: the body reduced to keep 10 mm at its sides, centred,
// half an inch of paper above and below.
const PageSetup kA4 = PageSetup::A4(11175);
const int kLeft = kA4.left, kTop = kA4.top, kLimit = kA4.height - kA4.bottom;
const int kPitch12 = LineHeight(TextStyle{L"Arial", 12});

TEST(TreasuryLayout, SheetsKeepTheirMarginsOnThePaper) {
    // The paper's edges as the paper measures them.
    auto paperEdges = [](const PageSetup& p) {
        return std::vector<double>{p.left * p.scale, p.right * p.scale, p.top * p.scale, p.bottom * p.scale};
    };
    for (const PageSetup& sheet : {kA4, PageSetup::Letter(11175)}) {
        EXPECT_EQ(sheet.BodyWidth(), 11175);
        EXPECT_LE(sheet.scale, 1.0);
        for (double edge : paperEdges(sheet)) EXPECT_GE(edge, kTenMillimetres - 1);
        EXPECT_NEAR(sheet.left, sheet.right, 1);  // centred
    }
    EXPECT_EQ(kA4.PaperWidth(), 11906);
    EXPECT_EQ(kA4.PaperHeight(), 16838);
    EXPECT_NEAR(kA4.scale, 10772.0 / 11175, 1e-9);
    EXPECT_NEAR(kA4.top * kA4.scale, 720, 1);

    // Landscape A4 whose printer cannot reach 0.5 inch on the left: full
    // size, centred, as wide and tall as the paper.
    auto wide = PageSetup::OnPaper(16838, 11906, 11175, RECT{720, 200, 100, 200});
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->scale, 1.0);
    EXPECT_EQ(wide->width, 16838);
    EXPECT_EQ(wide->height, 11906);
    EXPECT_NEAR(wide->left, (16838 - 11175) / 2, 1);
    // Edges that leave less room than the body: reduced, and off the wider edge.
    auto narrow = PageSetup::OnPaper(12240, 15840, 11175, RECT{1440, 0, 0, 0});
    ASSERT_TRUE(narrow.has_value());
    EXPECT_NEAR(narrow->scale, 10800.0 / 11175, 1e-9);
    EXPECT_NEAR(narrow->left * narrow->scale, 1440, 1);
    EXPECT_NEAR(narrow->right * narrow->scale, 0, 1);
    EXPECT_FALSE(PageSetup::OnPaper(1000, 1000, 11175, RECT{500, 0, 500, 0}).has_value());
}

TEST(TreasuryLayout, FirstPagePlacesEveryControl) {
    Layout layout = TreasuryOn(Movements(3));
    ASSERT_EQ(layout.PageCount(), 1u);
    PageContent page = layout.Content(0);

    // The title: three lines, the label grown to hold them.
    const PageItem* title = page.Find(L"Etiqueta1");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->left, kLeft);
    EXPECT_EQ(title->top, kTop);
    EXPECT_EQ(title->width, 11175);
    EXPECT_EQ(title->height, 3 * kPitch12);
    ASSERT_EQ(title->lines.size(), 3u);
    EXPECT_EQ(title->lines[0].text, L"Club Náutico");
    EXPECT_EQ(title->lines[1].text, L"Informe de arcandora");
    EXPECT_EQ(title->font.points, 12);

    // The headings right under the grown report header.
    const int headTop = kTop + 3 * kPitch12;
    struct Expected { const wchar_t* name; int left, width; const wchar_t* text; Align align; };
    const Expected headings[] = {
        {L"Etiqueta2", 0, 1135, L"Fecha", Align::Left},
        {L"Etiqueta3", 1140, 6000, L"Descripción o Concepto ", Align::Left},
        {L"Etiqueta7", 7140, 1330, L"Ingreso", Align::Right},
        {L"Etiqueta4", 8475, 1335, L"Egreso", Align::Right},
        {L"Etiqueta5", 9810, 1350, L"Estado", Align::Right},
    };
    for (const auto& h : headings) {
        const PageItem* item = page.Find(h.name);
        ASSERT_NE(item, nullptr) << h.name;
        EXPECT_EQ(item->left, kLeft + h.left) << h.name;
        EXPECT_EQ(item->top, headTop) << h.name;
        EXPECT_EQ(item->width, h.width) << h.name;
        EXPECT_EQ(item->height, 240) << h.name;
        EXPECT_EQ(item->Text(), h.text);
        EXPECT_EQ(item->align, h.align);
        EXPECT_TRUE(item->opaque && item->frame) << h.name;
        EXPECT_EQ(item->back, RGB(197, 223, 245));
        EXPECT_TRUE(item->font.bold);
        EXPECT_EQ(item->font.points, 11.25);
    }

    // Three details of 345 twips under the 300-twip page header.
    const int detailTop = headTop + 300;
    const Expected fields[] = {
        {L"Texto1", 0, 1110, nullptr, Align::Left},   {L"Texto2", 1134, 5961, nullptr, Align::Left},
        {L"Texto6", 7140, 1275, nullptr, Align::Right}, {L"Texto3", 8475, 1275, nullptr, Align::Right},
        {L"Texto4", 9810, 1350, nullptr, Align::Right},
    };
    for (const auto& f : fields) {
        auto items = page.FindAll(f.name);
        ASSERT_EQ(items.size(), 3u) << f.name;
        for (size_t r = 0; r < 3; ++r) {
            EXPECT_EQ(items[r]->left, kLeft + f.left) << f.name;
            EXPECT_EQ(items[r]->top, detailTop + 345 * static_cast<int>(r)) << f.name;
            EXPECT_EQ(items[r]->width, f.width) << f.name;
            EXPECT_EQ(items[r]->align, f.align) << f.name;
            EXPECT_EQ(items[r]->font.points, 12) << f.name;
        }
    }
    auto rules = page.FindAll(L"Línea2");
    ASSERT_EQ(rules.size(), 3u);
    for (size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(rules[r]->kind, PageItem::Kind::Line);
        EXPECT_EQ(rules[r]->top, detailTop + 345 * static_cast<int>(r) + 330);
        EXPECT_EQ(rules[r]->left, kLeft);
        EXPECT_EQ(rules[r]->width, 11175);
        EXPECT_EQ(rules[r]->height, 0);
    }
    // Field values in their formats (Spanish settings).
    auto dates = page.FindAll(L"Texto1");
    EXPECT_EQ(dates[0]->Text().substr(0, 5), L"1-ene");
    EXPECT_EQ(dates[0]->lines.size(), 1u);
    EXPECT_EQ(page.FindAll(L"Texto6")[0]->Text(), L"100,");
    EXPECT_EQ(page.FindAll(L"Texto6")[1]->Text(), L",");  // 0 under "#,###.##": no digits, the separator
    EXPECT_EQ(page.FindAll(L"Texto4")[2]->Text(), L"1.002,");
    // The signed amount is fetched but never printed.
    EXPECT_EQ(page.Find(L"Texto5"), nullptr);

    // The report footer after the last detail.
    const int footerTop = detailTop + 3 * 345;
    const PageItem* frame = page.Find(L"Forma1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->kind, PageItem::Kind::Rectangle);
    EXPECT_EQ(frame->top, footerTop + 135);
    EXPECT_EQ(frame->height, 1095);
    EXPECT_EQ(frame->width, 11175);
    const PageItem* summary = page.Find(L"Etiqueta9");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->Text(), L"Resumen");
    EXPECT_EQ(summary->left, kLeft + 2775);
    EXPECT_EQ(summary->top, footerTop + 315);
    EXPECT_EQ(summary->font.face, L"Arial Narrow");
    EXPECT_EQ(summary->font.points, 26.25);
    struct Total { const wchar_t* label; int labelLeft; const wchar_t* sum; int top; COLORREF colour; };
    const Total totals[] = {
        {L"Etiqueta6", 7605, L"Función2", 210, RGB(0, 0, 192)},
        {L"Etiqueta8", 7590, L"Función1", 525, RGB(192, 0, 0)},
        {L"Etiqueta11", 7605, L"Función3", 885, RGB(0, 64, 0)},
    };
    for (const auto& t : totals) {
        const PageItem* label = page.Find(t.label);
        const PageItem* sum = page.Find(t.sum);
        ASSERT_NE(label, nullptr);
        ASSERT_NE(sum, nullptr);
        EXPECT_EQ(label->left, kLeft + t.labelLeft);
        EXPECT_EQ(label->top, footerTop + t.top);
        EXPECT_EQ(label->align, Align::Right);
        EXPECT_EQ(sum->left, kLeft + 9735);
        EXPECT_EQ(sum->top, footerTop + t.top);
        EXPECT_EQ(sum->width, 1410);
        EXPECT_EQ(sum->fore, t.colour);
        EXPECT_EQ(sum->align, Align::Right);
    }
}

TEST(TreasuryLayout, LaterPagesStartWithTheHeadingsAndEndWithTheFooterOnce) {
    Layout layout = TreasuryOn(Movements(100));
    ASSERT_EQ(layout.PageCount(), 3u);
    // Page 1: 43 records fit under the title and the headings; page 2: 45.
    EXPECT_EQ(layout.Content(0).FindAll(L"Texto1").size(), 43u);
    PageContent second = layout.Content(1);
    EXPECT_EQ(second.Find(L"Etiqueta1"), nullptr);  // the title once, on the first page
    const PageItem* heading = second.Find(L"Etiqueta3");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->top, kTop);
    auto dates = second.FindAll(L"Texto1");
    ASSERT_EQ(dates.size(), 45u);
    EXPECT_EQ(dates[0]->top, kTop + 300);
    EXPECT_EQ(dates[0]->left, kLeft);
    EXPECT_EQ(second.FindAll(L"Texto2")[0]->Text(), L"CUOTA 43");
    EXPECT_EQ(second.FindAll(L"Línea2")[0]->top, kTop + 300 + 330);
    // The footer only on the last page.
    EXPECT_EQ(layout.Content(0).Find(L"Forma1"), nullptr);
    EXPECT_EQ(second.Find(L"Forma1"), nullptr);
    PageContent third = layout.Content(2);
    EXPECT_NE(third.Find(L"Forma1"), nullptr);
    EXPECT_EQ(third.FindAll(L"Texto1").size(), 12u);
    EXPECT_EQ(third.Find(L"Etiqueta3")->top, kTop);
}

TEST(TreasuryLayout, NoDetailCrossesThePageFootAndEveryRecordPrintsOnce) {
    for (size_t count : {0u, 1u, 43u, 44u, 88u, 89u, 130u}) {
        Layout layout = TreasuryOn(Movements(count, std::wstring(400, L'X') + L" FIN", 7));
        size_t next = 0;
        bool footerSeen = false;
        for (size_t p = 0; p < layout.PageCount(); ++p) {
            for (const Band& band : layout.Bands(p)) {
                EXPECT_LE(band.top + band.height, kLimit) << count << " rows, page " << p;
                const auto& kind = layout.Model().sections[band.section].kind;
                if (kind == SectionKind::Detail) {
                    EXPECT_EQ(band.row, next++);
                }
                if (kind == SectionKind::ReportFooter) {
                    EXPECT_FALSE(footerSeen);
                    EXPECT_EQ(p, layout.PageCount() - 1);
                    footerSeen = true;
                }
            }
        }
        EXPECT_EQ(next, count);
        EXPECT_TRUE(footerSeen) << count;
    }
}

TEST(TreasuryLayout, FooterThatDoesNotFitGoesToAPageOfItsOwn) {
    // 43 records fill the first page so that the 1230-twip footer no longer fits under them.
    size_t rows = 0;
    for (size_t n = 30; n < 50; ++n) {
        Layout l = TreasuryOn(Movements(n));
        if (l.PageCount() == 2 && l.Content(1).FindAll(L"Texto1").empty()) {
            rows = n;
            break;
        }
    }
    ASSERT_GT(rows, 0u) << "no record count leaves the footer alone on the last page";
    Layout layout = TreasuryOn(Movements(rows));
    PageContent last = layout.Content(1);
    EXPECT_EQ(last.Find(L"Etiqueta3")->top, kTop);  // the headings still head the page
    EXPECT_EQ(last.Find(L"Forma1")->top, kTop + 300 + 135);
}

TEST(TreasuryLayout, LongDescriptionMakesItsDetailTallerWithTheRuleUnderIt) {
    std::wstring longText =
        L"PAGO DE LA FACTURA DE ELECTRICIDAD DEL LOCAL SOCIAL CORRESPONDIENTE AL SEGUNDO BIMESTRE DEL AÑO EN CURSO "
        L"Y RECARGO POR DEMORA";
    Layout layout = TreasuryOn(Movements(3, longText, 1));
    PageContent page = layout.Content(0);
    auto descriptions = page.FindAll(L"Texto2");
    ASSERT_EQ(descriptions.size(), 3u);
    size_t lines = descriptions[1]->lines.size();
    ASSERT_GE(lines, 2u);
    EXPECT_EQ(descriptions[1]->height, static_cast<int>(lines) * kPitch12);
    // Every line fits the box and the words are all there.
    std::wstring joined;
    for (const auto& l : descriptions[1]->lines) {
        EXPECT_LE(TextWidth(l.text, TextStyle{L"Arial", 12}), 5961) << l.text.c_str();
        joined += (joined.empty() ? L"" : L" ") + l.text;
    }
    EXPECT_EQ(joined, longText);
    int growth = static_cast<int>(lines) * kPitch12 - 240;
    auto rules = page.FindAll(L"Línea2");
    EXPECT_EQ(rules[1]->top, descriptions[1]->top + 330 + growth);
    EXPECT_GT(rules[1]->top, descriptions[1]->top + descriptions[1]->height);
    // The next record starts below the taller one; the other fields keep their row's top.
    EXPECT_EQ(descriptions[2]->top, descriptions[1]->top + 345 + growth);
    EXPECT_EQ(page.FindAll(L"Texto4")[1]->top, descriptions[1]->top);
}

TEST(TreasuryLayout, SumsCoverEveryRecordAndSaldoIsTheSumOfSignedAmounts) {
    auto rows = Movements(100);
    Layout layout = TreasuryOn(rows);
    double income = 0, expense = 0;
    for (size_t i = 0; i < 100; ++i) {
        income += rows->Value(i, 2).AsDouble();
        expense += rows->Value(i, 3).AsDouble();
    }
    EXPECT_DOUBLE_EQ(layout.SumOf(L"Función2"), income);
    EXPECT_DOUBLE_EQ(layout.SumOf(L"Función1"), expense);
    EXPECT_DOUBLE_EQ(layout.SumOf(L"Función3"), income - expense);
    EXPECT_NE(layout.SumOf(L"Función3"), rows->Value(99, 5).AsDouble());  // not the last balance
    PageContent last = layout.Content(2);
    EXPECT_EQ(last.Find(L"Función2")->Text(), FormatNumber(income, L"#,###", RegionalFor(L"es-ES")));
    EXPECT_EQ(last.Find(L"Función2")->Text(), L"7.450");
    EXPECT_EQ(last.Find(L"Función1")->Text(), L"2.000");
    EXPECT_EQ(last.Find(L"Función3")->Text(), L"5.450");
}

TEST(TreasuryLayout, EmptyReportPrintsTitleHeadingsAndEmptyTotals) {
    Layout layout = TreasuryOn(Movements(0), L"\r\nInforme de arcandora\r\nDesde x, hasta y");
    ASSERT_EQ(layout.PageCount(), 1u);
    PageContent page = layout.Content(0);
    const PageItem* title = page.Find(L"Etiqueta1");
    ASSERT_EQ(title->lines.size(), 3u);
    EXPECT_EQ(title->lines[0].text, L"");  // an empty entity name is an empty first line
    EXPECT_EQ(title->lines[1].text, L"Informe de arcandora");
    EXPECT_NE(page.Find(L"Etiqueta5"), nullptr);
    EXPECT_TRUE(page.FindAll(L"Texto1").empty());
    EXPECT_EQ(page.Find(L"Función3")->Text(), L"");  // 0 under "#,###"
    EXPECT_EQ(page.Find(L"Forma1")->top, kTop + 3 * kPitch12 + 300 + 135);
}

TEST(ReportLayout, DetailTallerThanAPageIsPlacedAloneAndCut) {
    ReportModel m;
    m.width = 5000;
    m.sections.push_back({L"D", SectionKind::Detail, 20000, {
        ReportControl{.name = L"T", .kind = ControlKind::Label, .width = 1000, .height = 240, .caption = L"x"}}});
    auto rows = Movements(3);
    Layout layout(m, rows, L"", PageSetup::A4(5000), RegionalFor(L"en-US"));
    EXPECT_EQ(layout.PageCount(), 3u);
}

TEST(ReportLayout, BoundFieldMissingFromTheSourceIsAnError) {
    ReportModel m = arc::TreasuryReportLayout();
    auto noBalance = std::make_shared<TableSource>(std::vector<std::wstring>{L"FECHA", L"DESCRIPCION"});
    try {
        Layout layout(m, noBalance, L"", PageSetup::A4(11175), RegionalFor(L"en-US"));
        FAIL() << "laid out without its fields";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 3265);
    }
}

TEST(ReportLayout, PagePlaceholdersAndFooterOnEveryPage) {
    ReportModel m;
    m.width = 5000;
    m.sections.push_back({L"H", SectionKind::PageHeader, 300, {}});
    m.sections.push_back({L"D", SectionKind::Detail, 5000, {
        ReportControl{.name = L"T", .kind = ControlKind::TextField, .width = 3000, .height = 240, .field = L"DESCRIPCION"}}});
    m.sections.push_back({L"F", SectionKind::PageFooter, 300, {
        ReportControl{.name = L"P", .kind = ControlKind::Label, .width = 3000, .height = 240, .caption = L"Página %p de %P"}}});
    Layout layout(m, Movements(4), L"", PageSetup::A4(5000), RegionalFor(L"en-US"));
    ASSERT_EQ(layout.PageCount(), 2u);
    for (size_t p = 0; p < 2; ++p) {
        const PageContent content = layout.Content(p);
        const PageItem* footer = content.Find(L"P");
        ASSERT_NE(footer, nullptr);
        EXPECT_EQ(footer->Text(), L"Página " + std::to_wstring(p + 1) + L" de 2");
        EXPECT_EQ(footer->top, layout.Page().height - layout.Page().bottom - 300);
    }
}

TEST(TextMetricsTest, WrappingKeepsEmptyLinesAndBreaksLongWords) {
    TextStyle arial{L"Arial", 12};
    auto lines = WrapLines(L"\r\nB\nC\r", 5000, arial);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], L"");
    EXPECT_EQ(lines[1], L"B");
    EXPECT_EQ(lines[2], L"C");
    EXPECT_EQ(lines[3], L"");
    auto broken = WrapLines(std::wstring(60, L'W'), 1000, arial);
    ASSERT_GT(broken.size(), 1u);
    for (const auto& l : broken) EXPECT_LE(TextWidth(l, arial), 1000);
    // Without breaking words, a long word stays whole on its own line.
    auto kept = WrapLines(L"31-ene-26 x", 900, arial, false);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0], L"31-ene-26");
    EXPECT_EQ(WrapLines(L"", 1000, arial).size(), 1u);
    // Helvetica's widths: "Resumen" in Arial Narrow 26.25 pt.
    EXPECT_NEAR(TextWidth(L"Resumen", TextStyle{L"Arial Narrow", 26.25}), 4279 * 0.525 * 0.82, 0.01);
    EXPECT_EQ(ToWinAnsi(L'ñ'), 0xF1);
    EXPECT_EQ(ToWinAnsi(L'€'), 0x80);
    EXPECT_EQ(ToWinAnsi(L'\x3A9'), '?');
}

TEST(ReportPerformance, HundredThousandRowsPaginateQuickly) {
    auto rows = Movements(100000, L"", 0);
    auto start = std::chrono::steady_clock::now();
    Layout layout = TreasuryOn(rows);
    PageContent first = layout.Content(0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
    EXPECT_GT(layout.PageCount(), 2000u);
    EXPECT_EQ(first.FindAll(L"Texto1").size(), 43u);
    std::printf("100000 rows: %zu pages in %.3f s\n", layout.PageCount(), seconds);
}

}  // namespace
}  // namespace arc::report
