#include "PageSetup.h"

#include <winspool.h>

#include <algorithm>
#include <vector>

namespace arc::report {
namespace {

constexpr int kVerticalMargin = 720;  // half an inch

// Centres the body on the sheet, keeping at least the given edges.
bool Fit(PageSetup& p, int bodyWidth, int minLeft, int minRight, int minTop, int minBottom) {
    int side = (p.width - bodyWidth) / 2;
    if (side < minLeft || p.width - bodyWidth - side < minRight) {
        side = minLeft;
        if (p.width - bodyWidth - side < minRight) return false;
    }
    p.left = side;
    p.right = p.width - bodyWidth - side;
    p.top = std::max(kVerticalMargin, minTop);
    p.bottom = std::max(kVerticalMargin, minBottom);
    return p.BodyHeight() > 0;
}

}  // namespace

PageSetup PageSetup::A4(int bodyWidth) {
    PageSetup p;
    p.width = 11906;   // 210 mm
    p.height = 16838;  // 297 mm
    Fit(p, bodyWidth, 0, 0, 0, 0);
    return p;
}

bool PageSetupFromPrinter(HDC printer, int bodyWidth, PageSetup& out) {
    int dpiX = GetDeviceCaps(printer, LOGPIXELSX), dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    int physW = GetDeviceCaps(printer, PHYSICALWIDTH), physH = GetDeviceCaps(printer, PHYSICALHEIGHT);
    if (dpiX <= 0 || dpiY <= 0 || physW <= 0 || physH <= 0) return false;
    int offX = GetDeviceCaps(printer, PHYSICALOFFSETX), offY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    int printW = GetDeviceCaps(printer, HORZRES), printH = GetDeviceCaps(printer, VERTRES);
    auto twX = [&](int v) { return MulDiv(v, 1440, dpiX); };
    auto twY = [&](int v) { return MulDiv(v, 1440, dpiY); };
    PageSetup p;
    p.width = twX(physW);
    p.height = twY(physH);
    int minRight = std::max(0, twX(physW - offX - printW));
    int minBottom = std::max(0, twY(physH - offY - printH));
    if (!Fit(p, bodyWidth, twX(offX), minRight, twY(offY), minBottom)) return false;
    out = p;
    return true;
}

PageSetup DefaultPageSetup(int bodyWidth) {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size > 0) {
        std::vector<wchar_t> name(size);
        if (GetDefaultPrinterW(name.data(), &size)) {
            HDC dc = CreateDCW(L"WINSPOOL", name.data(), nullptr, nullptr);
            if (dc) {
                PageSetup p;
                bool ok = PageSetupFromPrinter(dc, bodyWidth, p);
                DeleteDC(dc);
                if (ok) return p;
            }
        }
    }
    return PageSetup::A4(bodyWidth);
}

}  // namespace arc::report
