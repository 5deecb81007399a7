// The preview driven by messages: it opens modally over its owner with the
// caption "Vista Previa", pages with its keys and buttons, zooms, saves a
// PDF through the injected dialog, reports a failed print through the host,
// closes with Escape, WM_CLOSE or "Cerrar", and returns only then.
#include "TestSupport.h"
#include "ledger/TreasuryReportLayout.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace arc::report {
namespace {

std::shared_ptr<test::TableSource> Rows(size_t n) {
    auto t = std::make_shared<test::TableSource>(
        std::vector<std::wstring>{L"FECHA", L"DESCRIPCION", L"INGRESO", L"EGRESO", L"INGEGR", L"ESTADO"});
    for (size_t i = 0; i < n; ++i)
        t->Add({data::Value::Text(L"2026-01-05"), data::Value::Text(L"CUOTA " + std::to_wstring(i)),
                data::Value::Real(10), data::Value::Real(0), data::Value::Real(10), data::Value::Real(10.0 * i)});
    return t;
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"Form1", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        report_ = std::make_unique<Report>(arc::TreasuryReportLayout());
        report_->SetTitle(L"Entidad\r\nInforme de arcandora\r\nDesde, hasta");
        report_->SetDataSource(Rows(100));
    }
    void TearDown() override { DestroyWindow(owner_); }

    void Show(PreviewOptions options) { report_->Show(owner_, host_, std::move(options), PageSetup::A4(11175)); }

    HWND owner_ = nullptr;
    test::TestHost host_{L"C:\\"};
    std::unique_ptr<Report> report_;
};

TEST_F(PreviewTest, ModalOverItsOwnerUntilEscape) {
    bool shown = false;
    size_t pageAtClose = 99;
    HWND preview = nullptr;
    PreviewOptions options;
    options.onShown = [&](PreviewWindow& w) {
        shown = true;
        preview = w.Hwnd();
        EXPECT_FALSE(IsWindowEnabled(owner_));
        EXPECT_EQ(GetWindow(w.Hwnd(), GW_OWNER), owner_);
        EXPECT_TRUE(IsWindowVisible(w.Hwnd()));
        EXPECT_EQ(WindowText(w.Hwnd()), L"Vista Previa");
        EXPECT_EQ(w.PageCount(), 3u);
        EXPECT_EQ(w.CurrentPage(), 0u);
        EXPECT_EQ(WindowText(w.Control(PreviewWindow::kPageText)), L"Página 1 de 3");
        EXPECT_FALSE(IsWindowEnabled(w.Control(PreviewWindow::kPrevious)));
        // Keys go through the preview's own loop, wherever the focus is inside it.
        HWND view = w.View().Hwnd();
        PostMessageW(view, WM_KEYDOWN, VK_END, 0);
        PostMessageW(view, WM_KEYDOWN, VK_PRIOR, 0);
        PostMessageW(w.Control(PreviewWindow::kFitWidth), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    options.onClosing = [&](PreviewWindow& w) { pageAtClose = w.CurrentPage(); };
    Show(options);
    EXPECT_TRUE(shown);
    EXPECT_EQ(pageAtClose, 1u);  // End, then PgUp
    EXPECT_FALSE(IsWindow(preview));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(PreviewTest, ButtonsPageZoomAndClose) {
    PreviewOptions options;
    options.onShown = [&](PreviewWindow& w) {
        SendMessageW(w.Control(PreviewWindow::kLast), BM_CLICK, 0, 0);
        EXPECT_EQ(w.CurrentPage(), 2u);
        EXPECT_EQ(WindowText(w.Control(PreviewWindow::kPageText)), L"Página 3 de 3");
        EXPECT_FALSE(IsWindowEnabled(w.Control(PreviewWindow::kNext)));
        SendMessageW(w.Hwnd(), WM_KEYDOWN, VK_NEXT, 0);  // past the last page: stays
        EXPECT_EQ(w.CurrentPage(), 2u);
        SendMessageW(w.Hwnd(), WM_KEYDOWN, VK_HOME, 0);
        EXPECT_EQ(w.CurrentPage(), 0u);
        SendMessageW(w.Control(PreviewWindow::kNext), BM_CLICK, 0, 0);
        EXPECT_EQ(w.CurrentPage(), 1u);

        // The whole page fits the view; the page width fills it; 100% is the screen's size.
        RECT r;
        GetClientRect(w.View().Hwnd(), &r);
        double fit = w.View().Scale();
        EXPECT_LE(fit * 16838, r.bottom);
        SendMessageW(w.Control(PreviewWindow::kFitWidth), BM_CLICK, 0, 0);
        EXPECT_EQ(w.GetZoom(), Zoom::FitWidth);
        EXPECT_GT(w.View().Scale(), fit);
        SendMessageW(w.Hwnd(), WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_GT(w.View().ScrollPosition().y, 0);  // a page wider than tall scrolls
        SendMessageW(w.Control(PreviewWindow::kActual), BM_CLICK, 0, 0);
        EXPECT_EQ(w.GetZoom(), Zoom::Actual);
        SendMessageW(w.Control(PreviewWindow::kFitPage), BM_CLICK, 0, 0);
        EXPECT_DOUBLE_EQ(w.View().Scale(), fit);
        UpdateWindow(w.Hwnd());  // paints without failing
        PostMessageW(w.Control(PreviewWindow::kClose), BM_CLICK, 0, 0);
    };
    Show(options);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(PreviewTest, ZoomsAboutThePointerGoesToATypedPageAndNeverMinimises) {
    int prints = 0;
    std::vector<std::wstring> asked;
    PreviewOptions options;
    options.choosePrinter = [&](HWND, size_t) -> std::optional<PrinterChoice> {
        ++prints;
        return std::nullopt;
    };
    options.chooseSaveFile = [&](HWND, const std::wstring& extension) {
        asked.push_back(extension);
        return std::wstring();
    };
    options.onShown = [&](PreviewWindow& w) {
        HWND view = w.View().Hwnd();
        // Minimising would leave the disabled owner waiting on a hidden window.
        EXPECT_FALSE(GetWindowLongW(w.Hwnd(), GWL_STYLE) & WS_MINIMIZEBOX);
        SendMessageW(w.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_FALSE(IsIconic(w.Hwnd()));

        // Ctrl + wheel: 1.2 times per notch, the sheet point under the pointer
        // stays (the sheet wider and taller than the view, picked in the box).
        HWND box = w.Control(PreviewWindow::kZoomBox);
        SendMessageW(box, CB_SETCURSEL, 6, 0);  // "200%"
        SendMessageW(w.Hwnd(), WM_COMMAND, MAKEWPARAM(PreviewWindow::kZoomBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
        EXPECT_NEAR(w.View().Percent(), 200, 0.01);
        POINT at{300, 200}, screen = at;
        ClientToScreen(view, &screen);
        auto sheetPoint = [&]() {
            POINT o = w.View().SheetOrigin();
            double s = w.View().Scale();
            return std::pair<double, double>((at.x - o.x) / s, (at.y - o.y) / s);
        };
        auto before = sheetPoint();
        SendMessageW(w.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
        EXPECT_NEAR(w.View().Percent(), 240, 0.01);
        auto after = sheetPoint();
        EXPECT_NEAR(after.first, before.first, 2 / w.View().Scale());
        EXPECT_NEAR(after.second, before.second, 2 / w.View().Scale());
        EXPECT_EQ(WindowText(box), L"240%");

        // A touchpad's fraction of a notch still scrolls, by its share.
        int y = w.View().ScrollPosition().y;
        SendMessageW(w.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 4)), 0);
        EXPECT_EQ(w.View().ScrollPosition().y, y + 15);

        // The zoom box takes a typed value (Enter) within 25%-400%.
        SetFocus(box);
        SetWindowTextW(box, L"1000 %");
        SendMessageW(w.Hwnd(), WM_COMMAND, IDOK, 0);
        EXPECT_NEAR(w.View().Percent(), 400, 0.01);
        // Ctrl + "-" steps down the box's list; Ctrl+P prints.
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(w.Hwnd(), WM_KEYDOWN, VK_OEM_MINUS, 0);
        EXPECT_NEAR(w.View().Percent(), 300, 0.01);
        SendMessageW(w.Hwnd(), WM_KEYDOWN, 'P', 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(prints, 1);

        // The "go to page" box: Enter goes there, past the end to the last page.
        SetFocus(w.Control(PreviewWindow::kPageBox));
        SetWindowTextW(w.Control(PreviewWindow::kPageBox), L"2");
        SendMessageW(w.Hwnd(), WM_COMMAND, IDOK, 0);
        EXPECT_EQ(w.CurrentPage(), 1u);
        SetFocus(w.Control(PreviewWindow::kPageBox));
        SetWindowTextW(w.Control(PreviewWindow::kPageBox), L"99");
        SendMessageW(w.Hwnd(), WM_COMMAND, IDOK, 0);
        EXPECT_EQ(w.CurrentPage(), 2u);
        EXPECT_EQ(WindowText(w.Control(PreviewWindow::kPageBox)), L"3");

        // The treasury report offers its spreadsheet copy beside the PDF.
        SendMessageW(w.Control(PreviewWindow::kSaveCsv), BM_CLICK, 0, 0);
        SendMessageW(w.Control(PreviewWindow::kSavePdf), BM_CLICK, 0, 0);
        PostMessageW(w.Hwnd(), WM_CLOSE, 0, 0);
    };
    Show(options);
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"csv", L"pdf"}));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(PreviewTest, SavesPdfThroughTheInjectedDialog) {
    test::TempFolder folder;
    std::wstring path = folder.Path() + L"\\informe.pdf";
    int asked = 0;
    PreviewOptions options;
    options.chooseSaveFile = [&](HWND, const std::wstring&) {
        ++asked;
        return asked == 1 ? std::wstring() : path;  // first cancelled, then a file
    };
    options.onShown = [&](PreviewWindow& w) {
        SendMessageW(w.Control(PreviewWindow::kSavePdf), BM_CLICK, 0, 0);
        EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
        SendMessageW(w.Control(PreviewWindow::kSavePdf), BM_CLICK, 0, 0);
        PostMessageW(w.Hwnd(), WM_CLOSE, 0, 0);
    };
    Show(options);
    EXPECT_EQ(asked, 2);
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(PreviewTest, FailedSaveAndPrintShowOneMessageEachAndStayOpen) {
    PreviewOptions options;
    options.chooseSaveFile = [](HWND, const std::wstring&) { return std::wstring(L"Z:\\no\\such\\folder\\x.pdf"); };
    options.choosePrinter = [](HWND, size_t pages) -> std::optional<PrinterChoice> {
        // A memory DC is no printer: StartDoc refuses it.
        return PrinterChoice(CreateCompatibleDC(nullptr), 0, pages - 1);
    };
    bool stillOpen = false;
    options.onShown = [&](PreviewWindow& w) {
        SendMessageW(w.Control(PreviewWindow::kSavePdf), BM_CLICK, 0, 0);
        SendMessageW(w.Control(PreviewWindow::kPrint), BM_CLICK, 0, 0);
        stillOpen = IsWindow(w.Hwnd()) && !IsWindowEnabled(owner_);
        PostMessageW(w.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    Show(options);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_NE(host_.messages[0].text.find(L"'75'"), std::wstring::npos) << host_.messages[0].text.c_str();
    EXPECT_NE(host_.messages[1].text.find(L"'482'"), std::wstring::npos) << host_.messages[1].text.c_str();
    EXPECT_EQ(host_.messages[0].flags, static_cast<UINT>(MB_OK));
}

// A failure that no step of the preview expected (here in the save dialog)
// is shown with its own number and description; the preview stays open.
TEST_F(PreviewTest, AnUnexpectedErrorShowsItsOwnNumberAndDescription) {
    PreviewOptions options;
    options.chooseSaveFile = [](HWND, const std::wstring&) -> std::wstring { throw std::bad_alloc(); };
    bool stillOpen = false;
    options.onShown = [&](PreviewWindow& w) {
        SendMessageW(w.Control(PreviewWindow::kSavePdf), BM_CLICK, 0, 0);
        stillOpen = IsWindow(w.Hwnd()) != FALSE;
        PostMessageW(w.Hwnd(), WM_CLOSE, 0, 0);
    };
    Show(options);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, RuntimeErrorText(kErrOutOfMemory, L"Memoria insuficiente"));
}

TEST_F(PreviewTest, QuitWhileOpenClosesThePreviewAndReachesTheProgramLoop) {
    PreviewOptions options;
    HWND preview = nullptr;
    options.onShown = [&](PreviewWindow& w) {
        preview = w.Hwnd();
        PostQuitMessage(3);
    };
    Show(options);
    EXPECT_FALSE(IsWindow(preview));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(PreviewTest, ReportWithoutDataSourceRaisesBeforeAnyWindow) {
    Report bare(arc::TreasuryReportLayout());
    bool shown = false;
    PreviewOptions options;
    options.onShown = [&](PreviewWindow&) { shown = true; };
    EXPECT_THROW(bare.Show(owner_, host_, options), RuntimeError);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

}  // namespace
}  // namespace arc::report
