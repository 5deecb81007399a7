#pragma once
// The report's preview: a window over its owner, caption "Vista Previa",
// that shows the pages one at a time on a grey background and offers page
// navigation (buttons, a "go to page" box, PgUp/PgDn/Home/End), zoom (whole
// page, page width, 100%, a zoom box from 25% to 400%, Ctrl + wheel and
// Ctrl + "+" / "-" keeping the point under the pointer in place),
// "Imprimir" (also Ctrl+P), "Guardar PDF" and, when the report's design has
// spreadsheet columns, "Guardar CSV".  Escape closes it.  ShowModal
// disables the owner, runs its own message loop and returns when the
// preview has closed; meanwhile the preview cannot be minimised, so that it
// never hides while the owner waits for it.
#include "Layout.h"
#include "PageView.h"
#include "Printing.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Host.h"
#include "platform/window/ModalForm.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace arc::report {

class PreviewWindow;

struct PreviewOptions {
    // The save dialog for a file of the extension ("pdf", "csv"): the chosen
    // path, or "" when the user cancels.  Empty: the system's.
    std::function<std::wstring(HWND owner, const std::wstring& extension)> chooseSaveFile;
    // The print dialog.  Empty: the system's.
    std::function<std::optional<PrinterChoice>(HWND owner, size_t pageCount)> choosePrinter;
    // Called once the preview is on screen, before its loop runs (tests drive it from here).
    std::function<void(PreviewWindow&)> onShown;
    // Called when the preview is about to close.
    std::function<void(PreviewWindow&)> onClosing;
    // The printed document's name, and the name the save dialogs suggest.
    std::wstring documentName = L"Informe";
};

class PreviewWindow : public ModalForm {
public:
    // The preview's controls; kEnter: Enter, from the dialog keys of the loop.
    enum Command {
        kFirst = 101, kPrevious, kNext, kLast, kFitPage, kFitWidth, kActual, kPrint, kSavePdf, kClose, kPageText,
        kSaveCsv, kPageBox, kPageBoxLabel, kZoomBox, kEnter = IDOK
    };

    // Messages of failed printing or saving are shown through the host.
    static void ShowModal(HWND owner, Host& host, const Layout& layout, const PreviewOptions& options);

    size_t CurrentPage() const { return view_.Page(); }
    size_t PageCount() const { return layout_.PageCount(); }
    const Layout& GetLayout() const { return layout_; }
    Zoom GetZoom() const { return view_.GetZoom(); }
    const PageView& View() const { return view_; }

    void GoToPage(size_t page);
    void SetZoom(Zoom zoom);
    // Zooms to a percentage about a point of the view (view coordinates).
    void ZoomTo(double percent, POINT anchor);
    // One step of the zoom box's list in (+1) or out (-1).
    void ZoomStep(int direction, POINT anchor);
    // Each raises RuntimeError when it fails; the window's barrier shows it.
    void Print();
    void SavePdf();
    void SaveCsv();
    void Close();
    // The preview's keys: PgUp, PgDn, Home, End, arrows, Escape, and with
    // Ctrl: "+", "-" (zoom about the pointer, or the view's centre) and P
    // (print).  True when handled.
    bool HandleKey(UINT vk, bool control = false);

    static constexpr wchar_t kCaption[] = L"Vista Previa";

private:
    PreviewWindow(Host& host, const Layout& layout, const PreviewOptions& options);
    bool Create(HWND owner);
    void Connect();
    void Arrange();
    bool RouteMessage(MSG& msg) override;
    void CloseWindow() override { Close(); }
    std::wstring DefaultSaveDialog(HWND owner, const std::wstring& extension) const;
    std::wstring ChooseSaveFile(const std::wstring& extension);
    void ShowZoom();
    void ApplyBoxes();
    void OnWheel(WPARAM wParam, LPARAM lParam);
    POINT ZoomAnchor() const;
    POINT ViewCentre() const;

    const Layout& layout_;
    const PreviewOptions& options_;
    PageView view_;
    PrintDialogMemory printDialog_;
    int toolbarHeight_ = 0;
    int wheelRest_ = 0, turnRest_ = 0;  // wheel movement not yet scrolled, and not yet turned into a page
};

}  // namespace arc::report
