// The PDF written from a laid-out report: a well-formed PDF 1.4 file (its
// cross-reference table points at its objects), one page per report page,
// the standard Helvetica fonts in WinAnsiEncoding with Spanish letters, text
// placed where the layout puts it, and failures to write reported.
#include "TestSupport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/PdfWriter.h"
#include "platform/report/TextMetrics.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace arc::report {
namespace {

Layout Sample(size_t rows, const std::wstring& title) {
    auto t = std::make_shared<test::TableSource>(
        std::vector<std::wstring>{L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"INGEGR", L"ESTADO"});
    for (size_t i = 0; i < rows; ++i) {
        double in = i % 2 ? 0 : 1500, out = i % 2 ? 250 : 0;
        t->Add({data::Value::Text(L"2026-03-02"), data::Value::Text(L"PEÑA (SOCIOS) \\ " + std::to_wstring(i)),
                data::Value::Real(in), data::Value::Real(out), data::Value::Real(in - out), data::Value::Real(1500)});
    }
    return Layout(arc::TreasuryReportLayout(), t, title, PageSetup::A4(11175), RegionalFor(L"es-ES"));
}

TEST(PdfOutput, WellFormedWithOnePagePerReportPage) {
    Layout layout = Sample(100, L"Asociación\r\nInforme de arcandora\r\nDesde, hasta");
    ASSERT_EQ(layout.PageCount(), 3u);
    std::string pdf = PdfDocument(layout);
    EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_NE(pdf.find("/Type /Pages /Kids [5 0 R 7 0 R 9 0 R ] /Count 3"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Helvetica /Encoding /WinAnsiEncoding"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595.3 841.9]"), std::string::npos);

    // The cross-reference table: every offset is the start of its object.
    size_t startxref = pdf.rfind("startxref\n");
    ASSERT_NE(startxref, std::string::npos);
    size_t xref = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    int count = 0;
    std::sscanf(pdf.c_str() + xref + 5, "0 %d", &count);
    EXPECT_EQ(count, 1 + 4 + 2 * 3);
    size_t line = pdf.find('\n', pdf.find('\n', xref + 5) + 1) + 1;  // after the free entry
    for (int obj = 1; obj < count; ++obj, line += 20) {
        size_t offset = std::stoul(pdf.substr(line, 10));
        std::string head = std::to_string(obj) + " 0 obj";
        EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << obj;
    }
    // Every content stream's length is its byte count.
    for (size_t at = pdf.find("/Length "); at != std::string::npos; at = pdf.find("/Length ", at + 1)) {
        size_t length = std::stoul(pdf.substr(at + 8));
        size_t data = pdf.find("stream\n", at) + 7;
        EXPECT_EQ(pdf.compare(data + length, 9, "endstream"), 0);
    }
}

TEST(PdfOutput, TextInWinAnsiWithEscapesColoursAndAlignment) {
    Layout layout = Sample(2, L"Asociación (Peña)\r\nInforme de arcandora\r\nDesde, hasta");
    std::string pdf = PdfDocument(layout);
    EXPECT_NE(pdf.find("(Asociaci\xF3n \\(Pe\xF1" "a\\)) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("(Descripci\xF3n o Concepto ) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("(PE\xD1" "A \\(SOCIOS\\) \\\\ 0) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("/F2 11.25 Tf"), std::string::npos);            // bold headings
    EXPECT_NE(pdf.find("/F1 26.25 Tf 0 0 0 rg 82 Tz"), std::string::npos);  // "Resumen", narrow
    EXPECT_NE(pdf.find("0.77 0.87 0.96 rg"), std::string::npos);        // heading background
    EXPECT_NE(pdf.find("0 0 0.75 rg"), std::string::npos);              // dark blue income
    EXPECT_NE(pdf.find("0.75 0 0 rg"), std::string::npos);              // dark red expense
    EXPECT_NE(pdf.find("0 0.25 0 rg"), std::string::npos);              // dark green balance

    // "Total Ingreso" 3.000, right-aligned: its right edge at the box's right less the inset.
    PageContent page = layout.Content(0);
    const PageItem* total = page.Find(L"Función2");
    ASSERT_EQ(total->Text(), L"1.500");
    double width = TextWidth(L"1.500", total->font);
    int x = static_cast<int>(total->lines[0].x - width);
    size_t shown = pdf.find(" Tm (1.500) Tj");
    ASSERT_NE(shown, std::string::npos);
    size_t matrix = pdf.rfind("1 0 0 1 ", shown);
    double px = 0, py = 0;
    ASSERT_EQ(std::sscanf(pdf.c_str() + matrix, "1 0 0 1 %lf %lf Tm", &px, &py), 2);
    EXPECT_NEAR(px, x / 20.0, 0.01);
    EXPECT_NEAR(py, (layout.Page().height - total->lines[0].baseline) / 20.0, 0.01);
}

TEST(PdfOutput, UnwritablePathIsReported) {
    Layout layout = Sample(1, L"t");
    test::TempFolder folder;
    try {
        WritePdf(layout, folder.Path() + L"\\no such folder\\informe.pdf");
        FAIL() << "wrote into a missing folder";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 75);
    }
    std::wstring path = folder.Path() + L"\\informe.pdf";
    WritePdf(layout, path);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char head[8] = {};
    DWORD got = 0;
    ReadFile(h, head, 8, &got, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(head, 8), "%PDF-1.4");
}

}  // namespace
}  // namespace arc::report
