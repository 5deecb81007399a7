#pragma once
// The paper a report is laid out on: page size and margins in twips.
#include <windows.h>

namespace arc::report {

struct PageSetup {
    int width = 0, height = 0;  // the whole sheet
    int left = 0, top = 0, right = 0, bottom = 0;

    int BodyWidth() const { return width - left - right; }
    int BodyHeight() const { return height - top - bottom; }

    // A4 portrait with the body of the given width centred and half-inch
    // margins above and below.
    static PageSetup A4(int bodyWidth);
};

// The sheet of a printer (its device context): the body of the given width
// centred, but never inside the part the printer cannot reach.  Returns
// false when the body does not fit between the printer's unprintable edges.
bool PageSetupFromPrinter(HDC printer, int bodyWidth, PageSetup& out);

// The default printer's sheet when there is a default printer whose page
// holds the body, A4 otherwise.
PageSetup DefaultPageSetup(int bodyWidth);

}  // namespace arc::report
