#pragma once
// Printing a report: the system's print dialog, then the report laid out
// again for the chosen printer's paper, orientation and printable area, and
// each chosen page drawn by the same routine as the preview, between
// StartPage and EndPage, inside StartDoc/EndDoc; AbortDoc when a step fails.
#include "Layout.h"

#include <windows.h>

#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace arc::report {

// A printer device context with the pages the user asked for (0-based,
// inclusive, counted as they print on this printer's paper).
class PrinterChoice {
public:
    static constexpr size_t kToTheEnd = std::numeric_limits<size_t>::max();
    PrinterChoice(HDC dc, size_t firstPage, size_t lastPage) : dc_(dc), first_(firstPage), last_(lastPage) {}
    ~PrinterChoice() {
        if (dc_) DeleteDC(dc_);
    }
    PrinterChoice(PrinterChoice&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)), first_(o.first_), last_(o.last_) {}
    PrinterChoice(const PrinterChoice&) = delete;
    PrinterChoice& operator=(const PrinterChoice&) = delete;
    PrinterChoice& operator=(PrinterChoice&&) = delete;
    HDC Dc() const { return dc_; }
    size_t FirstPage() const { return first_; }
    size_t LastPage() const { return last_; }

private:
    HDC dc_;
    size_t first_, last_;
};

// What the print dialog remembers between prints from one preview: the
// chosen printer and its settings, and how many pages the last print had.
class PrintDialogMemory {
public:
    PrintDialogMemory() = default;
    ~PrintDialogMemory();
    PrintDialogMemory(const PrintDialogMemory&) = delete;
    PrintDialogMemory& operator=(const PrintDialogMemory&) = delete;

    HGLOBAL devMode = nullptr, devNames = nullptr;  // owned
    size_t printedPages = 0;                        // 0: nothing printed yet
};

// Asks for a printer and pages with the system's print dialog, which opens
// on the printer chosen last time.  The range is read as the pages will
// print; when the last print from this preview had another page count than
// the preview, the dialog's range says so, and again when another printer
// is picked in it.  nullopt when the user cancels; raises RuntimeError 482
// when the dialog itself fails.  The device context is the only one made.
std::optional<PrinterChoice> ChoosePrinter(HWND owner, size_t previewPages, PrintDialogMemory& memory);

// The range group's text in the print dialog when the pages as printed may
// differ from the preview's: with both counts when they are known.
std::wstring PrintRangeNote(size_t previewPages, size_t printedPages);

// The report laid out again on the printer's sheet, or nullopt when the
// layout is already on that sheet.  Raises RuntimeError 482 when the device
// reports no page.
std::optional<Layout> RelaidForPrinter(HDC printer, const Layout& layout);

// Prints pages first..last (clamped to the layout) as one document, the
// sheet's paper on the printer's paper.  Raises RuntimeError 482 ("Printer
// error") after AbortDoc when the printer refuses a step.
void PrintLayout(HDC printer, const Layout& layout, const std::wstring& documentName, size_t firstPage,
                 size_t lastPage);

}  // namespace arc::report
