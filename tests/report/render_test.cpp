// The one drawing routine, onto a bitmap at screen resolution: the heading
// backgrounds, the rule under each record, the coloured totals and the text
// land where the layout puts them.
#include "TestSupport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/GdiRenderer.h"
#include "platform/report/Layout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace arc::report {
namespace {

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
        RECT r{0, 0, w, h};
        FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD p = bits_[y * w_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels in a rectangle that are not white.
    int Inked(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (At(x, y) != RGB(255, 255, 255)) ++n;
        return n;
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

std::shared_ptr<test::TableSource> Rows(size_t n) {
    auto t = std::make_shared<test::TableSource>(
        std::vector<std::wstring>{L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"INGEGR", L"ESTADO"});
    for (size_t i = 0; i < n; ++i)
        t->Add({data::Value::Text(L"2026-01-05"), data::Value::Text(L"CUOTA SOCIAL NÚMERO " + std::to_wstring(i)),
                data::Value::Real(1500), data::Value::Real(0), data::Value::Real(1500),
                data::Value::Real(1500.0 * (i + 1))});
    return t;
}

TEST(ReportDrawing, PageOnABitmapShowsBackgroundsRulesAndColours) {
    Layout layout(arc::TreasuryReportLayout(), Rows(2), L"Entidad\r\nInforme de arcandora\r\nDesde, hasta",
                  PageSetup::A4(11175), RegionalFor(L"en-US"));
    PageContent page = layout.Content(0);
    DeviceMapping map = DeviceMapping::ForDpi(96, 96);
    Canvas canvas(map.X(layout.Page().width) + 1, map.Y(layout.Page().height) + 1);
    GdiRenderer renderer;
    renderer.Draw(canvas.Dc(), page, map);

    // The heading "Estado": light blue inside, a frame at its edge, dark text.
    const PageItem* estado = page.Find(L"Etiqueta5");
    int x0 = map.X(estado->left), x1 = map.X(estado->left + estado->width);
    int y0 = map.Y(estado->top), y1 = map.Y(estado->top + estado->height);
    EXPECT_EQ(canvas.At(x0 + 4, (y0 + y1) / 2), RGB(197, 223, 245));
    EXPECT_EQ(canvas.At(x0, (y0 + y1) / 2), RGB(0, 0, 0));
    int dark = 0;
    for (int x = x0 + 1; x < x1 - 1; ++x)
        for (int y = y0 + 1; y < y1 - 1; ++y) {
            COLORREF c = canvas.At(x, y);
            if (GetRValue(c) < 100 && GetGValue(c) < 100) ++dark;
        }
    EXPECT_GT(dark, 10) << "no heading text drawn";

    // The rule under each record runs across the body.
    for (const PageItem* rule : page.FindAll(L"Línea2")) {
        int y = map.Y(rule->top);
        EXPECT_EQ(canvas.At(map.X(rule->left) + 5, y), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(map.X(rule->left + rule->width) - 5, y), RGB(0, 0, 0));
    }
    // The description's text is inside its box, the box's right part empty.
    const PageItem* description = page.FindAll(L"Texto2")[0];
    int dy0 = map.Y(description->top), dy1 = map.Y(description->top + description->height);
    EXPECT_GT(canvas.Inked(map.X(description->left), dy0, map.X(description->left) + 100, dy1), 20);
    EXPECT_EQ(canvas.Inked(map.X(description->left) + 300, dy0, map.X(description->left + description->width), dy1), 0);

    // "Total Ingreso" in dark blue, right-aligned in its box.
    const PageItem* income = page.Find(L"Función2");
    ASSERT_EQ(income->Text(), L"3,000");
    int blue = 0, right = map.X(income->left + income->width), left = map.X(income->left);
    for (int x = left; x < right; ++x)
        for (int y = map.Y(income->top); y < map.Y(income->top + income->height); ++y) {
            COLORREF c = canvas.At(x, y);
            if (GetBValue(c) > 100 && GetRValue(c) < 100 && GetGValue(c) < 100) ++blue;
        }
    EXPECT_GT(blue, 10);
    EXPECT_EQ(canvas.Inked(left, map.Y(income->top), left + (right - left) / 3, map.Y(income->top + income->height)), 0)
        << "a right-aligned total drawn from the left";
}

TEST(ReportDrawing, FillsAndPolylinesInTheirColoursEvenWhenThinnerThanADot) {
    PageContent page;
    page.items.push_back(PageItem{.kind = PageItem::Kind::Fill, .left = 1440, .top = 1440, .width = 5,
                                  .height = 1440, .back = RGB(0, 128, 0)});
    page.items.push_back(PageItem{.kind = PageItem::Kind::Polyline, .fore = RGB(0, 0, 192),
                                  .points = {{1440, 4320}, {2880, 4320}, {2880, 5760}}, .lineWidth = 30});
    DeviceMapping map = DeviceMapping::ForDpi(96, 96);
    Canvas canvas(400, 500);
    GdiRenderer renderer;
    renderer.Draw(canvas.Dc(), page, map);
    EXPECT_EQ(canvas.At(map.X(1440), map.Y(2160)), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(map.X(1440) + 2, map.Y(2160)), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(map.X(2160), map.Y(4320)), RGB(0, 0, 192));
    EXPECT_EQ(canvas.At(map.X(2880), map.Y(5040)), RGB(0, 0, 192));
    EXPECT_EQ(canvas.Inked(map.X(1440), map.Y(4320) + 4, map.X(2880) - 4, map.Y(5760)), 0) << "a line filled in";
}

// At any zoom the rule under a record runs whole: below 100 % the next
// record's white fields, 15 twips lower, can round onto the rule's dot row,
// and must not paint it over (which left short dashes between the amounts).
TEST(ReportDrawing, TheRuleUnderEachRecordRunsWholeAtEveryZoom) {
    Layout layout(arc::TreasuryReportLayout(), Rows(40), L"Entidad\r\nInforme de arcandora\r\nDesde, hasta",
                  PageSetup::A4(11175), RegionalFor(L"en-US"));
    PageContent page = layout.Content(0);
    for (int dpi : {48, 71, 96, 192}) {  // 50 %, 74 %, 100 % and 200 % of the screen's 96
        DeviceMapping map = DeviceMapping::ForDpi(dpi, dpi);
        Canvas canvas(map.X(layout.Page().width) + 1, map.Y(layout.Page().height) + 1);
        GdiRenderer renderer;
        renderer.Draw(canvas.Dc(), page, map);
        const auto rules = page.FindAll(L"Línea2");
        ASSERT_GT(rules.size(), 20u);
        for (const PageItem* rule : rules) {
            const int y = map.Y(rule->top), x0 = map.X(rule->left), x1 = map.X(rule->left + rule->width);
            int gaps = 0;
            for (int x = x0; x < x1; ++x) gaps += canvas.At(x, y) != RGB(0, 0, 0);
            EXPECT_EQ(gaps, 0) << "the rule at " << rule->top << " twips, at " << dpi << " dpi";
        }
    }
}

TEST(ReportPerformance, TenThousandRowsFirstPageDrawnWithinASecond) {
    auto rows = Rows(10000);
    auto start = std::chrono::steady_clock::now();
    Layout layout(arc::TreasuryReportLayout(), rows, L"E\r\nInforme de arcandora\r\nDesde, hasta",
                  PageSetup::A4(11175), RegionalFor(L"es-ES"));
    DeviceMapping map = DeviceMapping::ForDpi(96, 96);
    Canvas canvas(800, 1130);
    GdiRenderer renderer;
    renderer.Draw(canvas.Dc(), layout.Content(0), map);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_GT(layout.PageCount(), 200u);
    std::printf("10000 rows: first page drawn after %.3f s\n", seconds);
}

}  // namespace
}  // namespace arc::report
