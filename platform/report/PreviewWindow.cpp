#include "PreviewWindow.h"

#include "PdfWriter.h"
#include "platform/window/Twips.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace arc::report {
namespace {

class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_); }

private:
    HCURSOR old_;
};

bool IsPreviewKey(WPARAM vk) {
    switch (vk) {
        case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END: case VK_ESCAPE:
        case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
            return true;
    }
    return false;
}

}  // namespace

const wchar_t* const PreviewWindow::kCaption = L"Vista Previa";

PreviewWindow::PreviewWindow(const Layout& layout, const PreviewOptions& options)
    : layout_(layout), options_(options), view_(layout) {}

bool PreviewWindow::Create(HWND owner) {
    owner_ = owner;
    // Most of the owner's screen, centred on it.
    HMONITOR monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{sizeof mi};
    GetMonitorInfoW(monitor, &mi);
    RECT work = mi.rcWork;
    int w = std::max(640, static_cast<int>((work.right - work.left) * 9 / 10));
    int h = std::max(480, static_cast<int>((work.bottom - work.top) * 9 / 10));
    int x = work.left + (work.right - work.left - w) / 2, y = work.top + (work.bottom - work.top - h) / 2;
    ClassDesc cls{L"ArcReportPreview"};
    if (!CreateWindowOf(cls, 0, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, w, h, owner)) return false;

    const int bh = 360, top = 60, gap = 60;
    struct Button { Command id; const wchar_t* text; int width; const wchar_t* tip; };
    const Button buttons[] = {
        {kFirst, L"|<", 450, L"Primera página"},   {kPrevious, L"<", 450, L"Página anterior"},
        {kNext, L">", 450, L"Página siguiente"},   {kLast, L">|", 450, L"Última página"},
        {kPageText, L"", 1800, nullptr},          {kFitPage, L"Página completa", 1600, nullptr},
        {kFitWidth, L"Ancho de página", 1600, nullptr}, {kActual, L"100%", 800, nullptr},
        {kPrint, L"Imprimir", 1100, nullptr},      {kSavePdf, L"Guardar PDF", 1400, nullptr},
        {kClose, L"Cerrar", 1000, nullptr},
    };
    std::vector<arc::ControlDesc> descs;
    int left = gap, tab = 0;
    for (const auto& b : buttons) {
        arc::ControlDesc s{};
        s.kind = b.id == kPageText ? arc::ControlKind::Label : arc::ControlKind::Button;
        s.name = std::to_wstring(b.id);
        s.left = left;
        s.top = b.id == kPageText ? top + 60 : top;
        s.width = b.width;
        s.height = bh;
        s.text = b.text;
        s.align = arc::Align::Center;
        s.tabIndex = tab++;
        s.id = b.id;
        if (b.tip) s.tooltip = b.tip;
        descs.push_back(s);
        left += b.width + gap;
    }
    int dpiX = ScreenDpiX(), dpiY = ScreenDpiY();
    controls_ = std::make_unique<ControlSet>(Hwnd());
    controls_->Create(descs, dpiX, dpiY);
    toolbarHeight_ = TwipsToPixels(top * 2 + bh, dpiY);
    if (!view_.Create(Hwnd())) return false;
    Arrange();
    GoToPage(0);
    return true;
}

void PreviewWindow::Arrange() {
    RECT r{};
    GetClientRect(Hwnd(), &r);
    MoveWindow(view_.Hwnd(), 0, toolbarHeight_, r.right, std::max<LONG>(0, r.bottom - toolbarHeight_), TRUE);
}

void PreviewWindow::GoToPage(size_t page) {
    if (PageCount() == 0) return;
    page = std::min(page, PageCount() - 1);
    view_.ShowPage(page);
    std::wstring text = L"Página " + std::to_wstring(page + 1) + L" de " + std::to_wstring(PageCount());
    SetWindowTextW(Control(kPageText), text.c_str());
    EnableWindow(Control(kFirst), page > 0);
    EnableWindow(Control(kPrevious), page > 0);
    EnableWindow(Control(kNext), page + 1 < PageCount());
    EnableWindow(Control(kLast), page + 1 < PageCount());
}

void PreviewWindow::ShowError(const RuntimeError& error) {
    if (options_.host) options_.host->ShowMessage(Hwnd(), RuntimeErrorText(error), MB_OK);
}

std::wstring PreviewWindow::DefaultSaveDialog(HWND owner) const {
    std::vector<wchar_t> file(32768, L'\0');
    std::wstring suggested = options_.documentName + L".pdf";
    std::copy(suggested.begin(), suggested.end(), file.begin());
    const wchar_t filter[] = L"Documentos PDF (*.pdf)\0*.pdf\0Todos los archivos (*.*)\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"pdf";
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&ofn)) return L"";
    return file.data();
}

void PreviewWindow::SavePdf() {
    std::wstring path = options_.chooseSaveFile ? options_.chooseSaveFile(Hwnd()) : DefaultSaveDialog(Hwnd());
    if (path.empty()) return;
    try {
        WaitCursor wait;
        WritePdf(layout_, path);
    } catch (const RuntimeError& e) {
        ShowError(e);
    }
}

void PreviewWindow::Print() {
    try {
        auto choice = options_.choosePrinter ? options_.choosePrinter(Hwnd(), PageCount())
                                             : ChoosePrinter(Hwnd(), PageCount());
        if (!choice || !choice->Dc()) return;
        WaitCursor wait;
        PrintLayout(choice->Dc(), layout_, options_.documentName, choice->FirstPage(), choice->LastPage());
    } catch (const RuntimeError& e) {
        ShowError(e);
    }
}

void PreviewWindow::Close() {
    if (closed_ || !Hwnd()) return;
    if (options_.onClosing) options_.onClosing(*this);
    closed_ = true;
    RestoreOwner();
    DestroyWindow(Hwnd());
}

// The owner is enabled again before the preview goes, so that activation
// returns to it.
void PreviewWindow::RestoreOwner() {
    if (!ownerDisabled_) return;
    ownerDisabled_ = false;
    EnableWindow(owner_, TRUE);
    SetActiveWindow(owner_);
}

PreviewWindow::~PreviewWindow() { RestoreOwner(); }

bool PreviewWindow::HandleKey(UINT vk) {
    switch (vk) {
        case VK_PRIOR: if (CurrentPage() > 0) GoToPage(CurrentPage() - 1); return true;
        case VK_NEXT: GoToPage(CurrentPage() + 1); return true;
        case VK_HOME: GoToPage(0); return true;
        case VK_END: GoToPage(PageCount() - 1); return true;
        case VK_UP: view_.ScrollBy(0, -40); return true;
        case VK_DOWN: view_.ScrollBy(0, 40); return true;
        case VK_LEFT: view_.ScrollBy(-40, 0); return true;
        case VK_RIGHT: view_.ScrollBy(40, 0); return true;
        case VK_ESCAPE: Close(); return true;
    }
    return false;
}

bool PreviewWindow::Ours(HWND hwnd) const { return hwnd && (hwnd == Hwnd() || IsChild(Hwnd(), hwnd)); }

LRESULT PreviewWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kFirst: GoToPage(0); break;
                case kPrevious: if (CurrentPage() > 0) GoToPage(CurrentPage() - 1); break;
                case kNext: GoToPage(CurrentPage() + 1); break;
                case kLast: GoToPage(PageCount() - 1); break;
                case kFitPage: SetZoom(Zoom::FitPage); break;
                case kFitWidth: SetZoom(Zoom::FitWidth); break;
                case kActual: SetZoom(Zoom::Actual); break;
                case kPrint: Print(); break;
                case kSavePdf: SavePdf(); break;
                case kClose: Close(); break;
                default: return Default(msg, wParam, lParam);
            }
            // Keys go on working after a button was clicked.
            if (Hwnd() && !closed_) SetFocus(view_.Hwnd());
            return 0;
        case WM_KEYDOWN:
            if (HandleKey(static_cast<UINT>(wParam))) return 0;
            break;
        case WM_MOUSEWHEEL: {
            int steps = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            if (!view_.ScrollBy(0, -steps * 60) && steps != 0) {
                if (steps < 0 && CurrentPage() + 1 < PageCount()) GoToPage(CurrentPage() + 1);
                else if (steps > 0 && CurrentPage() > 0) GoToPage(CurrentPage() - 1);
            }
            return 0;
        }
        case WM_SIZE:
            Arrange();
            return 0;
        case WM_SETFOCUS:
            SetFocus(view_.Hwnd());
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (controls_)
                if (HBRUSH b = controls_->OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                    return reinterpret_cast<LRESULT>(b);
            break;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            closed_ = true;
            break;
    }
    return Default(msg, wParam, lParam);
}

void PreviewWindow::OnUnhandledError() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        ShowError(e);
    } catch (const std::exception&) {
        ShowError(RuntimeError(7, L"Out of memory"));
    } catch (...) {
    }
}

void PreviewWindow::ShowModal(HWND owner, const Layout& layout, const PreviewOptions& options) {
    PreviewWindow preview(layout, options);
    if (!preview.Create(owner))
        throw RuntimeError(static_cast<long>(GetLastError()), L"The preview window could not be created.");
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        preview.ownerDisabled_ = true;
    }
    ShowWindow(preview.Hwnd(), SW_SHOW);
    UpdateWindow(preview.Hwnd());
    SetFocus(preview.view_.Hwnd());
    if (options.onShown) options.onShown(preview);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (!preview.closed_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) break;
        // The preview's keys and wheel work wherever the focus is inside it.
        if (preview.Ours(msg.hwnd) &&
            (msg.message == WM_MOUSEWHEEL || (msg.message == WM_KEYDOWN && IsPreviewKey(msg.wParam)))) {
            SendMessageW(preview.Hwnd(), msg.message, msg.wParam, msg.lParam);
            continue;
        }
        if (IsDialogMessageW(preview.Hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    preview.Close();
    // A WM_QUIT taken by this loop belongs to the program's own loop.
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace arc::report
