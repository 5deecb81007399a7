#pragma once
// The report's preview: a window over its owner, caption "Vista Previa",
// that shows the pages one at a time on a grey background and offers page
// navigation (buttons, PgUp/PgDn/Home/End), zoom (whole page, page width,
// 100%), "Imprimir" and "Guardar PDF".  Escape closes it.  ShowModal
// disables the owner, runs its own message loop and returns when the
// preview has closed.
#include "Layout.h"
#include "PageView.h"
#include "Printing.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Host.h"
#include "platform/window/Controls.h"
#include "platform/window/Window.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace arc::report {

class PreviewWindow;

struct PreviewOptions {
    // Shows the messages of failed printing or saving; none: nothing is shown.
    Host* host = nullptr;
    // The save dialog: the chosen path, or "" when the user cancels.  Empty: the system's.
    std::function<std::wstring(HWND owner)> chooseSaveFile;
    // The print dialog.  Empty: the system's.
    std::function<std::optional<PrinterChoice>(HWND owner, size_t pageCount)> choosePrinter;
    // Called once the preview is on screen, before its loop runs (tests drive it from here).
    std::function<void(PreviewWindow&)> onShown;
    // Called when the preview is about to close.
    std::function<void(PreviewWindow&)> onClosing;
    // The printed document's name.
    std::wstring documentName = L"Informe";
};

class PreviewWindow : public Window {
public:
    enum Command {
        kFirst = 101, kPrevious, kNext, kLast, kFitPage, kFitWidth, kActual, kPrint, kSavePdf, kClose, kPageText
    };

    static void ShowModal(HWND owner, const Layout& layout, const PreviewOptions& options);
    ~PreviewWindow() override;

    size_t CurrentPage() const { return view_.Page(); }
    size_t PageCount() const { return layout_.PageCount(); }
    Zoom GetZoom() const { return view_.GetZoom(); }
    const PageView& View() const { return view_; }
    HWND Control(Command id) const { return GetDlgItem(Hwnd(), id); }

    void GoToPage(size_t page);
    void SetZoom(Zoom zoom) { view_.SetZoom(zoom); }
    void Print();
    void SavePdf();
    void Close();
    // Navigation keys: PgUp, PgDn, Home, End, arrows and Escape.  True when handled.
    bool HandleKey(UINT vk);

    static const wchar_t* const kCaption;  // "Vista Previa"

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnUnhandledError() override;

private:
    PreviewWindow(const Layout& layout, const PreviewOptions& options);
    bool Create(HWND owner);
    void Arrange();
    void ShowError(const RuntimeError& error);
    bool Ours(HWND hwnd) const;
    void RestoreOwner();
    std::wstring DefaultSaveDialog(HWND owner) const;

    const Layout& layout_;
    const PreviewOptions& options_;
    HWND owner_ = nullptr;
    PageView view_;
    std::unique_ptr<ControlSet> controls_;
    int toolbarHeight_ = 0;
    bool closed_ = false;
    bool ownerDisabled_ = false;
};

}  // namespace arc::report
