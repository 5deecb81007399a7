#include "PageSetup.h"

#include "platform/window/Twips.h"

#include <winspool.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace arc::report {
namespace {

constexpr int kVerticalMargin = 720;  // half an inch
constexpr RECT kPaperMargins{kTenMillimetres, kTenMillimetres, kTenMillimetres, kTenMillimetres};

int Round(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

int PageSetup::PaperWidth() const { return paperWidth ? paperWidth : Round(width * scale); }
int PageSetup::PaperHeight() const { return paperHeight ? paperHeight : Round(height * scale); }

std::optional<PageSetup> PageSetup::OnPaper(int paperWidth, int paperHeight, int bodyWidth, RECT minMargins) {
    int room = paperWidth - minMargins.left - minMargins.right;
    if (room <= 0 || bodyWidth <= 0) return std::nullopt;
    double scale = std::min(1.0, static_cast<double>(room) / bodyWidth);
    // Paper twips: centred, shifted off an edge the printer cannot reach.
    double body = bodyWidth * scale;
    double side = std::clamp((paperWidth - body) / 2, static_cast<double>(minMargins.left),
                             paperWidth - minMargins.right - body);
    double top = std::max<double>(kVerticalMargin, minMargins.top);
    double bottom = std::max<double>(kVerticalMargin, minMargins.bottom);
    PageSetup p;
    p.scale = scale;
    p.paperWidth = paperWidth;
    p.paperHeight = paperHeight;
    p.width = Round(paperWidth / scale);
    p.height = Round(paperHeight / scale);
    p.left = Round(side / scale);
    p.right = p.width - bodyWidth - p.left;
    p.top = Round(top / scale);
    p.bottom = Round(bottom / scale);
    if (p.BodyHeight() <= 0) return std::nullopt;
    return p;
}

PageSetup PageSetup::A4(int bodyWidth) { return *OnPaper(11906, 16838, bodyWidth, kPaperMargins); }
PageSetup PageSetup::Letter(int bodyWidth) { return *OnPaper(12240, 15840, bodyWidth, kPaperMargins); }

bool operator==(const PageSetup& a, const PageSetup& b) {
    return a.width == b.width && a.height == b.height && a.left == b.left && a.top == b.top &&
           a.right == b.right && a.bottom == b.bottom && a.scale == b.scale &&
           a.PaperWidth() == b.PaperWidth() && a.PaperHeight() == b.PaperHeight();
}

std::optional<PageSetup> PageSetupFromPrinter(HDC printer, int bodyWidth) {
    const TwipsScale s = TwipsScale::Of(printer);
    int physW = GetDeviceCaps(printer, PHYSICALWIDTH), physH = GetDeviceCaps(printer, PHYSICALHEIGHT);
    if (!s.Valid() || physW <= 0 || physH <= 0) return std::nullopt;
    int offX = GetDeviceCaps(printer, PHYSICALOFFSETX), offY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    int printW = GetDeviceCaps(printer, HORZRES), printH = GetDeviceCaps(printer, VERTRES);
    RECT edges{s.TwipsX(offX), s.TwipsY(offY), std::max(0, s.TwipsX(physW - offX - printW)),
               std::max(0, s.TwipsY(physH - offY - printH))};
    return PageSetup::OnPaper(s.TwipsX(physW), s.TwipsY(physH), bodyWidth, edges);
}

std::wstring DefaultPrinterName() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return L"";
    std::vector<wchar_t> name(size);
    if (!GetDefaultPrinterW(name.data(), &size)) return L"";
    return name.data();
}

PageSetup PrinterOrLocalePageSetup(const std::wstring& printer, int bodyWidth) {
    if (!printer.empty()) {
        if (HDC ic = CreateICW(L"WINSPOOL", printer.c_str(), nullptr, nullptr)) {
            auto sheet = PageSetupFromPrinter(ic, bodyWidth);
            DeleteDC(ic);
            if (sheet) return *sheet;
        }
    }
    wchar_t paper[8] = L"";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IPAPERSIZE, paper, 8);
    return std::wstring(paper) == L"1" ? PageSetup::Letter(bodyWidth) : PageSetup::A4(bodyWidth);
}

}  // namespace arc::report
