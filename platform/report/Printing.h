#pragma once
// Printing a laid-out report: each page drawn by the same routine as the
// preview, between StartPage and EndPage, inside StartDoc/EndDoc; AbortDoc
// when any step fails.
#include "Layout.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace arc::report {

// A printer device context with the pages the user asked for (0-based, inclusive).
class PrinterChoice {
public:
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

// Asks the user for a printer and pages (the system's print dialog); nullopt
// when the user cancels.  Raises RuntimeError when the dialog itself fails.
std::optional<PrinterChoice> ChoosePrinter(HWND owner, size_t pageCount);

// Prints pages first..last of the layout as one document.  The sheet is
// placed on the printer's paper at its own size, reduced when the paper is
// smaller.  Raises RuntimeError 482 ("Printer error") after AbortDoc when
// the printer refuses a step.
void PrintLayout(HDC printer, const Layout& layout, const std::wstring& documentName, size_t firstPage,
                 size_t lastPage);

}  // namespace arc::report
