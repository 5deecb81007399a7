#include "Printing.h"

#include "GdiRenderer.h"
#include "platform/runtime/Error.h"

#include <commdlg.h>

#include <algorithm>

namespace arc::report {
namespace {

constexpr long kErrPrinter = 482;

[[noreturn]] void PrinterError(const wchar_t* step) {
    throw RuntimeError(kErrPrinter, std::wstring(L"Printer error (") + step + L")");
}

}  // namespace

std::optional<PrinterChoice> ChoosePrinter(HWND owner, size_t pageCount) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nMinPage = 1;
    pd.nMaxPage = static_cast<WORD>(std::min<size_t>(pageCount, 0xFFFF));
    pd.nFromPage = 1;
    pd.nToPage = pd.nMaxPage;
    pd.nCopies = 1;
    BOOL ok = PrintDlgW(&pd);
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    if (!ok) {
        DWORD error = CommDlgExtendedError();
        if (pd.hDC) DeleteDC(pd.hDC);
        if (error == 0) return std::nullopt;  // cancelled
        throw RuntimeError(kErrPrinter, L"Printer error: no printer could be used (" + std::to_wstring(error) + L")");
    }
    if (!pd.hDC) PrinterError(L"PrintDlg");
    size_t first = 0, last = pageCount ? pageCount - 1 : 0;
    if (pd.Flags & PD_PAGENUMS) {
        first = std::max<size_t>(pd.nFromPage, 1) - 1;
        last = std::min<size_t>(std::max<size_t>(pd.nToPage, 1), pageCount) - 1;
    }
    return PrinterChoice(pd.hDC, first, std::max(first, last));
}

void PrintLayout(HDC printer, const Layout& layout, const std::wstring& documentName, size_t firstPage,
                 size_t lastPage) {
    int dpiX = GetDeviceCaps(printer, LOGPIXELSX), dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0) PrinterError(L"GetDeviceCaps");
    // Device coordinates start at the printable corner, not the paper's.
    int offX = GetDeviceCaps(printer, PHYSICALOFFSETX), offY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    int physW = GetDeviceCaps(printer, PHYSICALWIDTH), physH = GetDeviceCaps(printer, PHYSICALHEIGHT);
    const PageSetup& sheet = layout.Page();
    double zoom = 1.0;
    if (physW > 0 && physH > 0) {
        double needW = MulDiv(sheet.width, dpiX, 1440), needH = MulDiv(sheet.height, dpiY, 1440);
        zoom = std::min({1.0, physW / needW, physH / needH});
    }
    DeviceMapping map = DeviceMapping::ForDpi(dpiX, dpiY, -offX, -offY, zoom);

    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    if (StartDocW(printer, &doc) <= 0) PrinterError(L"StartDoc");
    GdiRenderer renderer;
    lastPage = std::min(lastPage, layout.PageCount() - 1);
    try {
        for (size_t p = firstPage; p <= lastPage; ++p) {
            if (StartPage(printer) <= 0) PrinterError(L"StartPage");
            renderer.Draw(printer, layout.Content(p), map);
            if (EndPage(printer) <= 0) PrinterError(L"EndPage");
        }
        if (EndDoc(printer) <= 0) PrinterError(L"EndDoc");
    } catch (...) {
        AbortDoc(printer);
        throw;
    }
}

}  // namespace arc::report
