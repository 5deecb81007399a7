#include "Printing.h"

#include "GdiRenderer.h"
#include "platform/runtime/Error.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>

namespace arc::report {
namespace {

[[noreturn]] void PrinterError(const wchar_t* step) {
    throw RuntimeError(kErrPrinter, ErrorDescription(kErrPrinter) + L" (" + step + L")");
}

struct DialogNote {
    size_t previewPages, printedPages;
};

// Writes the note into the dialog's "Print range" group when the pages may
// be counted differently from the preview: at once when the last print had
// another page count, and as soon as another printer is picked.
UINT_PTR CALLBACK PrintHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const auto* pd = reinterpret_cast<const PRINTDLGW*>(lParam);
        const auto* note = reinterpret_cast<const DialogNote*>(pd->lCustData);
        if (note->printedPages && note->printedPages != note->previewPages)
            SetDlgItemTextW(dialog, grp1, PrintRangeNote(note->previewPages, note->printedPages).c_str());
        SetPropW(dialog, L"ArcPreviewPages", reinterpret_cast<HANDLE>(note->previewPages));
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == cmb4 && HIWORD(wParam) == CBN_SELCHANGE) {
        auto pages = reinterpret_cast<size_t>(GetPropW(dialog, L"ArcPreviewPages"));
        SetDlgItemTextW(dialog, grp1, PrintRangeNote(pages, 0).c_str());
    }
    if (msg == WM_DESTROY) RemovePropW(dialog, L"ArcPreviewPages");
    return 0;
}

}  // namespace

PrintDialogMemory::~PrintDialogMemory() {
    if (devMode) GlobalFree(devMode);
    if (devNames) GlobalFree(devNames);
}

std::wstring PrintRangeNote(size_t previewPages, size_t printedPages) {
    if (printedPages)
        return L"Páginas al imprimir: " + std::to_wstring(printedPages) + L" (en la vista previa: " +
               std::to_wstring(previewPages) + L")";
    return L"Páginas como salen en esta impresora";
}

std::optional<PrinterChoice> ChoosePrinter(HWND owner, size_t previewPages, PrintDialogMemory& memory) {
    DialogNote note{previewPages, memory.printedPages};
    size_t expected = memory.printedPages ? memory.printedPages : previewPages;
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = memory.devMode;
    pd.hDevNames = memory.devNames;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE | PD_ENABLEPRINTHOOK;
    pd.lpfnPrintHook = PrintHook;
    pd.lCustData = reinterpret_cast<LPARAM>(&note);
    // Another paper may need more pages than the preview shows: any page
    // number may be asked for, and the range is cut to the pages printed.
    pd.nMinPage = 1;
    pd.nMaxPage = 0xFFFF;
    pd.nFromPage = 1;
    pd.nToPage = static_cast<WORD>(std::clamp<size_t>(expected, 1, 0xFFFF));
    pd.nCopies = 1;
    BOOL ok = PrintDlgW(&pd);
    // The dialog may have replaced the handles it was given.
    memory.devMode = pd.hDevMode;
    memory.devNames = pd.hDevNames;
    if (!ok) {
        DWORD error = CommDlgExtendedError();
        if (pd.hDC) DeleteDC(pd.hDC);
        if (error == 0) return std::nullopt;  // cancelled
        throw RuntimeError(kErrPrinter, ErrorDescription(kErrPrinter) + L": no se pudo usar ninguna impresora (" +
                                         std::to_wstring(error) + L")");
    }
    if (!pd.hDC) PrinterError(L"PrintDlg");
    size_t first = 0, last = PrinterChoice::kToTheEnd;
    if (pd.Flags & PD_PAGENUMS) {
        first = std::max<size_t>(pd.nFromPage, 1) - 1;
        last = std::max<size_t>(std::max<size_t>(pd.nToPage, 1) - 1, first);
    }
    return PrinterChoice(pd.hDC, first, last);
}

std::optional<Layout> RelaidForPrinter(HDC printer, const Layout& layout) {
    auto sheet = PageSetupFromPrinter(printer, layout.Model().width);
    if (!sheet) PrinterError(L"GetDeviceCaps");
    if (*sheet == layout.Page()) return std::nullopt;
    return layout.OnSheet(*sheet);
}

void PrintLayout(HDC printer, const Layout& layout, const std::wstring& documentName, size_t firstPage,
                 size_t lastPage) {
    const TwipsScale scale = TwipsScale::Of(printer);
    if (!scale.Valid()) PrinterError(L"GetDeviceCaps");
    if (layout.PageCount() == 0 || firstPage >= layout.PageCount()) return;
    lastPage = std::min(lastPage, layout.PageCount() - 1);
    // Device coordinates start at the printable corner, not the paper's.
    int offX = GetDeviceCaps(printer, PHYSICALOFFSETX), offY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    const DeviceMapping map{scale.Zoomed(layout.Page().scale), -offX, -offY};

    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    if (StartDocW(printer, &doc) <= 0) PrinterError(L"StartDoc");
    GdiRenderer renderer;
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
