#pragma once
// The paper a report is laid out on.  Lengths are report twips: the twips
// of the report's design.  When the body does not fit between the edges the
// paper must keep, the whole report is reduced: scale is the paper length of
// one report twip (1 at full size), and the sheet's report-twip size is the
// paper's divided by it, so pagination always works with the design's sizes.
#include <windows.h>

#include <optional>
#include <string>

namespace arc::report {

constexpr int kTenMillimetres = 567;  // in twips: the least margin of paper chosen without a printer

struct PageSetup {
    int width = 0, height = 0;  // the whole sheet
    int left = 0, top = 0, right = 0, bottom = 0;
    double scale = 1.0;         // paper twips per report twip, at most 1
    int paperWidth = 0, paperHeight = 0;  // the paper in its own twips; 0: the sheet's size times scale

    int BodyWidth() const { return width - left - right; }
    int BodyHeight() const { return height - top - bottom; }
    // The paper's own size in twips.
    int PaperWidth() const;
    int PaperHeight() const;

    // A body of the given width on paper of the given size (twips), centred
    // across it and at least half an inch from top and bottom, never nearer
    // an edge than the margin given for it, reduced when it would not fit.
    // nullopt when nothing is left between the margins.
    static std::optional<PageSetup> OnPaper(int paperWidth, int paperHeight, int bodyWidth, RECT minMargins);

    // A4 and Letter portrait kept at least 10 mm from every edge: the sheets
    // used when no printer says what its paper is.
    static PageSetup A4(int bodyWidth);
    static PageSetup Letter(int bodyWidth);
};

bool operator==(const PageSetup& a, const PageSetup& b);

// The sheet of a printer (its device context): its paper and orientation,
// the body kept inside the part the printer can reach.  nullopt when the
// device reports no page.
std::optional<PageSetup> PageSetupFromPrinter(HDC printer, int bodyWidth);

// The sheet of the named printer, read through an information context; the
// sheet of the user's locale (Letter where the locale measures paper in
// inches, A4 elsewhere) when there is no such printer.
PageSetup PrinterOrLocalePageSetup(const std::wstring& printer, int bodyWidth);

// The system's default printer, or "" when there is none.
std::wstring DefaultPrinterName();

}  // namespace arc::report
