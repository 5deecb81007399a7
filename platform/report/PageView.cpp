#include "PageView.h"

#include <algorithm>
#include <cmath>

namespace arc::report {
namespace {

constexpr int kGap = 16;  // grey border around the sheet, in pixels
const COLORREF kBackground = RGB(128, 128, 128);
const COLORREF kShadow = RGB(64, 64, 64);

}  // namespace

PageView::~PageView() {
    if (memDc_) {
        SelectObject(memDc_, oldBitmap_);
        DeleteDC(memDc_);
    }
    if (memBitmap_) DeleteObject(memBitmap_);
}

bool PageView::Create(HWND parent) {
    ClassDesc cls{L"ArcReportPageView"};
    cls.background = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    cls.style = 0;
    if (!CreateWindowOf(cls, 0, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100, 100,
                        parent))
        return false;
    screen_ = TwipsScale::Of(Hwnd());
    return true;
}

double PageView::Scale() const {
    RECT r{};
    if (Hwnd()) GetClientRect(Hwnd(), &r);
    double w = std::max<LONG>(1, r.right - 2 * kGap), h = std::max<LONG>(1, r.bottom - 2 * kGap);
    const PageSetup& sheet = layout_.Page();
    switch (zoom_) {
        case Zoom::FitPage: return std::min(w / sheet.width, h / sheet.height);
        case Zoom::FitWidth: return w / sheet.width;
        case Zoom::Percent: return ActualScale() * percent_ / 100;
        case Zoom::Actual: break;
    }
    return ActualScale();
}

// Pixels per report twip that show the paper at its real size.
double PageView::ActualScale() const { return screen_.dpiX / 1440 * layout_.Page().scale; }

double PageView::Percent() const { return Scale() / ActualScale() * 100; }

void PageView::SetPercent(double percent, POINT anchor) {
    double before = Scale();
    POINT o = SheetOrigin();
    double sheetX = (anchor.x - o.x) / before, sheetY = (anchor.y - o.y) / before;
    zoom_ = Zoom::Percent;
    percent_ = std::clamp(percent, kMinZoomPercent, kMaxZoomPercent);
    UpdateScrollBars();
    // Scroll so that the same sheet point comes back under the anchor.
    scrollX_ = scrollY_ = 0;
    POINT unscrolled = SheetOrigin();
    double after = Scale();
    scrollX_ = static_cast<int>(std::lround(unscrolled.x + sheetX * after - anchor.x));
    scrollY_ = static_cast<int>(std::lround(unscrolled.y + sheetY * after - anchor.y));
    UpdateScrollBars();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

TwipsScale PageView::ViewScale() const { return TwipsScale{1440, 1440}.Zoomed(Scale()); }

SIZE PageView::SheetPixels() const {
    const TwipsScale s = ViewScale();
    return SIZE{s.X(layout_.Page().width), s.Y(layout_.Page().height)};
}

POINT PageView::SheetOrigin() const {
    RECT r{};
    GetClientRect(Hwnd(), &r);
    SIZE sheet = SheetPixels();
    return POINT{std::max<LONG>(kGap, (r.right - sheet.cx) / 2) - scrollX_,
                 std::max<LONG>(kGap, (r.bottom - sheet.cy) / 2) - scrollY_};
}

void PageView::ShowPage(size_t page) {
    if (layout_.PageCount() == 0) return;
    page = std::min(page, layout_.PageCount() - 1);
    if (page != page_ || !content_) {
        page_ = page;
        content_ = layout_.Content(page_);
        scrollY_ = 0;
    }
    UpdateScrollBars();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void PageView::SetZoom(Zoom zoom) {
    zoom_ = zoom;
    scrollX_ = scrollY_ = 0;
    UpdateScrollBars();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

bool PageView::ScrollBy(int dx, int dy) {
    int oldX = scrollX_, oldY = scrollY_;
    scrollX_ += dx;
    scrollY_ += dy;
    UpdateScrollBars();
    if (oldX == scrollX_ && oldY == scrollY_) return false;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return true;
}

void PageView::UpdateScrollBars() {
    if (!Hwnd() || updatingBars_) return;
    updatingBars_ = true;
    // Showing a bar narrows the view, which may change the zoom's scale: a
    // few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        RECT r{};
        GetClientRect(Hwnd(), &r);
        SIZE sheet = SheetPixels();
        int contentW = sheet.cx + 2 * kGap, contentH = sheet.cy + 2 * kGap;
        scrollX_ = std::clamp(scrollX_, 0, std::max(0, contentW - static_cast<int>(r.right)));
        scrollY_ = std::clamp(scrollY_, 0, std::max(0, contentH - static_cast<int>(r.bottom)));
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        si.nMax = contentW - 1;
        si.nPage = static_cast<UINT>(r.right);
        si.nPos = scrollX_;
        SetScrollInfo(Hwnd(), SB_HORZ, &si, TRUE);
        si.nMax = contentH - 1;
        si.nPage = static_cast<UINT>(r.bottom);
        si.nPos = scrollY_;
        SetScrollInfo(Hwnd(), SB_VERT, &si, TRUE);
        RECT after{};
        GetClientRect(Hwnd(), &after);
        if (after.right == r.right && after.bottom == r.bottom) break;
    }
    updatingBars_ = false;
}

void PageView::OnScroll(int bar, int code) {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Hwnd(), bar, &si);
    int pos = si.nPos, line = 40;
    switch (code) {
        case SB_LINEUP: pos -= line; break;
        case SB_LINEDOWN: pos += line; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = si.nMax; break;
        default: return;
    }
    if (bar == SB_HORZ) ScrollBy(pos - scrollX_, 0);
    else ScrollBy(0, pos - scrollY_);
}

void PageView::Paint(HDC dc) {
    RECT r{};
    GetClientRect(Hwnd(), &r);
    if (r.right <= 0 || r.bottom <= 0) return;
    if (!memDc_ || memSize_.cx != r.right || memSize_.cy != r.bottom) {
        if (memDc_) {
            SelectObject(memDc_, oldBitmap_);
            DeleteDC(memDc_);
            DeleteObject(memBitmap_);
        }
        memDc_ = CreateCompatibleDC(dc);
        memBitmap_ = CreateCompatibleBitmap(dc, r.right, r.bottom);
        oldBitmap_ = SelectObject(memDc_, memBitmap_);
        memSize_ = SIZE{r.right, r.bottom};
    }
    Brush grey(CreateSolidBrush(kBackground)), shadow(CreateSolidBrush(kShadow));
    FillRect(memDc_, &r, grey.Get());
    if (content_) {
        POINT o = SheetOrigin();
        SIZE s = SheetPixels();
        RECT sheet{o.x, o.y, o.x + s.cx, o.y + s.cy};
        RECT shade = sheet;
        OffsetRect(&shade, 4, 4);
        FillRect(memDc_, &shade, shadow.Get());
        FillRect(memDc_, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const DeviceMapping map{ViewScale(), o.x, o.y};
        IntersectClipRect(memDc_, sheet.left, sheet.top, sheet.right, sheet.bottom);
        renderer_.Draw(memDc_, *content_, map);
        SelectClipRgn(memDc_, nullptr);
    }
    BitBlt(dc, 0, 0, r.right, r.bottom, memDc_, 0, 0, SRCCOPY);
}

LRESULT PageView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Hwnd(), &ps);
            Paint(dc);
            EndPaint(Hwnd(), &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            UpdateScrollBars();
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_VSCROLL:
            OnScroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            OnScroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(Hwnd());
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace arc::report
