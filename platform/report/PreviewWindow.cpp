#include "PreviewWindow.h"

#include "CsvWriter.h"
#include "PdfWriter.h"
#include "platform/window/Twips.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
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

// The zoom box's list; Ctrl + "+" / "-" step through it.
const int kZoomSteps[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};
// Zoom per wheel notch with Ctrl; smaller deltas zoom by their share of it.
constexpr double kWheelZoom = 1.2;
// Pixels scrolled per wheel notch.
constexpr int kWheelScroll = 60;

bool IsEdit(HWND hwnd) {
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    return _wcsicmp(cls, L"Edit") == 0;
}

bool IsControlDown() { return GetKeyState(VK_CONTROL) < 0; }

bool IsZoomKey(WPARAM vk) { return vk == VK_OEM_PLUS || vk == VK_ADD || vk == VK_OEM_MINUS || vk == VK_SUBTRACT; }

// Keys the preview takes wherever the focus is inside it; in a text box,
// the keys that edit text stay with the box.
bool IsPreviewKey(WPARAM vk, bool inEdit, bool control) {
    if (vk == VK_ESCAPE) return true;
    if (control) return IsZoomKey(vk) || vk == 'P';
    if (inEdit) return false;
    switch (vk) {
        case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
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
    if (!CreateWindowOf(cls, 0, kCaption, (WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX) | WS_CLIPCHILDREN, x, y, w, h,
                        owner))
        return false;

    const int bh = 360, top = 60, gap = 60;
    bool csv = !layout_.Model().exportColumns.empty();
    struct Button { Command id; arc::ControlKind kind; const wchar_t* text; int width; const wchar_t* tip; };
    using K = arc::ControlKind;
    std::vector<Button> buttons = {
        {kFirst, K::Button, L"|<", 450, L"Primera página"},   {kPrevious, K::Button, L"<", 450, L"Página anterior"},
        {kNext, K::Button, L">", 450, L"Página siguiente"},   {kLast, K::Button, L">|", 450, L"Última página"},
        {kPageText, K::Label, L"", 1700, nullptr},
        {kPageBoxLabel, K::Label, L"Ir a:", 450, nullptr},
        {kPageBox, K::TextBox, L"1", 600, L"Número de página e Intro"},
        {kFitPage, K::Button, L"Página completa", 1600, nullptr},
        {kFitWidth, K::Button, L"Ancho de página", 1600, nullptr}, {kActual, K::Button, L"100%", 700, nullptr},
        {kZoomBox, K::Label, nullptr, 1100, nullptr},  // the zoom box's place
        {kPrint, K::Button, L"Imprimir", 1100, L"Imprimir (Ctrl+P)"},
        {kSavePdf, K::Button, L"Guardar PDF", 1400, nullptr},
    };
    if (csv) buttons.push_back({kSaveCsv, K::Button, L"Guardar CSV", 1400, L"Copia para hoja de cálculo"});
    buttons.push_back({kClose, K::Button, L"Cerrar", 1000, nullptr});
    std::vector<arc::ControlDesc> descs;
    int left = gap, tab = 0, zoomLeft = 0;
    for (const auto& b : buttons) {
        if (b.id == kZoomBox) {
            zoomLeft = left;
            left += b.width + gap;
            continue;
        }
        arc::ControlDesc s{};
        s.kind = b.kind;
        s.name = std::to_wstring(b.id);
        s.left = left;
        s.top = b.kind == K::Label ? top + 60 : top;
        s.width = b.width;
        s.height = b.kind == K::TextBox ? bh - 30 : bh;
        s.text = b.text;
        s.align = b.kind == K::TextBox ? arc::Align::Right : arc::Align::Center;
        s.tabIndex = tab++;
        s.id = b.id;
        if (b.tip) s.tooltip = b.tip;
        descs.push_back(s);
        left += b.width + gap;
    }
    int dpiX = ScreenDpiX(), dpiY = ScreenDpiY();
    controls_ = std::make_unique<ControlSet>(Hwnd());
    controls_->Create(descs, dpiX, dpiY);
    SetWindowLongPtrW(Control(kPageBox), GWL_STYLE, GetWindowLongPtrW(Control(kPageBox), GWL_STYLE) | ES_NUMBER);
    CreateZoomBox(TwipsToPixels(zoomLeft, dpiX), TwipsToPixels(top, dpiY), TwipsToPixels(1100, dpiX));
    toolbarHeight_ = TwipsToPixels(top * 2 + bh, dpiY);
    if (!view_.Create(Hwnd())) return false;
    Arrange();
    GoToPage(0);
    ShowZoom();
    return true;
}

void PreviewWindow::CreateZoomBox(int left, int top, int width) {
    zoomBox_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                               left, top, width, 300, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kZoomBox)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!zoomBox_) return;
    SendMessageW(zoomBox_, WM_SETFONT, SendMessageW(Control(kActual), WM_GETFONT, 0, 0), FALSE);
    for (int step : kZoomSteps)
        SendMessageW(zoomBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((std::to_wstring(step) + L"%").c_str()));
    // Tab reaches it after "100%".
    SetWindowPos(zoomBox_, Control(kActual), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    SetWindowTextW(Control(kPageBox), std::to_wstring(page + 1).c_str());
    EnableWindow(Control(kFirst), page > 0);
    EnableWindow(Control(kPrevious), page > 0);
    EnableWindow(Control(kNext), page + 1 < PageCount());
    EnableWindow(Control(kLast), page + 1 < PageCount());
}

void PreviewWindow::SetZoom(Zoom zoom) {
    view_.SetZoom(zoom);
    ShowZoom();
}

void PreviewWindow::ZoomTo(double percent, POINT anchor) {
    view_.SetPercent(percent, anchor);
    ShowZoom();
}

void PreviewWindow::ZoomStep(int direction, POINT anchor) {
    double now = view_.Percent();
    double next = direction > 0 ? kZoomSteps[std::size(kZoomSteps) - 1] : kZoomSteps[0];
    for (int step : kZoomSteps) {
        if (direction > 0 && step > now + 0.5) { next = step; break; }
        if (direction < 0 && step < now - 0.5) next = step;
    }
    ZoomTo(next, anchor);
}

// The zoom box shows the zoom as a percentage, whichever way it was set.
void PreviewWindow::ShowZoom() {
    if (!zoomBox_) return;
    std::wstring text = std::to_wstring(static_cast<int>(std::lround(view_.Percent()))) + L"%";
    SetWindowTextW(zoomBox_, text.c_str());
}

// The pointer when it is over the page view, otherwise the view's centre.
POINT PreviewWindow::ZoomAnchor() const {
    RECT r{};
    GetClientRect(view_.Hwnd(), &r);
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(view_.Hwnd(), &p);
    if (PtInRect(&r, p)) return p;
    return POINT{r.right / 2, r.bottom / 2};
}

// Enter in the "go to page" box or the zoom box applies what it holds.
void PreviewWindow::ApplyBoxes() {
    HWND focus = GetFocus();
    if (focus == Control(kPageBox)) {
        long page = std::wcstol(WindowText(focus).c_str(), nullptr, 10);
        GoToPage(page > 1 ? static_cast<size_t>(page - 1) : 0);
        SetFocus(view_.Hwnd());
    } else if (zoomBox_ && (focus == zoomBox_ || IsChild(zoomBox_, focus))) {
        wchar_t* end = nullptr;
        std::wstring text = WindowText(zoomBox_);
        double percent = std::wcstod(text.c_str(), &end);
        if (end != text.c_str() && percent > 0) {
            RECT r{};
            GetClientRect(view_.Hwnd(), &r);
            ZoomTo(percent, POINT{r.right / 2, r.bottom / 2});
        } else {
            ShowZoom();
        }
        SetFocus(view_.Hwnd());
    }
}

void PreviewWindow::ShowError(const RuntimeError& error) {
    if (options_.host) options_.host->ShowMessage(Hwnd(), RuntimeErrorText(error), MB_OK);
}

std::wstring PreviewWindow::DefaultSaveDialog(HWND owner, const std::wstring& extension) const {
    std::vector<wchar_t> file(32768, L'\0');
    std::wstring suggested = options_.documentName + L"." + extension;
    std::copy(suggested.begin(), suggested.end(), file.begin());
    const wchar_t pdf[] = L"Documentos PDF (*.pdf)\0*.pdf\0Todos los archivos (*.*)\0*.*\0";
    const wchar_t csv[] = L"Valores separados (*.csv)\0*.csv\0Todos los archivos (*.*)\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = extension == L"csv" ? csv : pdf;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&ofn)) return L"";
    return file.data();
}

std::wstring PreviewWindow::ChooseSaveFile(const std::wstring& extension) {
    return options_.chooseSaveFile ? options_.chooseSaveFile(Hwnd(), extension) : DefaultSaveDialog(Hwnd(), extension);
}

void PreviewWindow::SavePdf() {
    std::wstring path = ChooseSaveFile(L"pdf");
    if (path.empty()) return;
    try {
        WaitCursor wait;
        WritePdf(layout_, path);
    } catch (const RuntimeError& e) {
        ShowError(e);
    }
}

void PreviewWindow::SaveCsv() {
    if (layout_.Model().exportColumns.empty() || !layout_.Source()) return;
    std::wstring path = ChooseSaveFile(L"csv");
    if (path.empty()) return;
    try {
        WaitCursor wait;
        WriteCsv(*layout_.Source(), layout_.Model().exportColumns, layout_.RegionalSettings(), path);
    } catch (const RuntimeError& e) {
        ShowError(e);
    }
}

void PreviewWindow::Print() {
    try {
        auto choice = options_.choosePrinter ? options_.choosePrinter(Hwnd(), PageCount())
                                             : ChoosePrinter(Hwnd(), PageCount(), printDialog_);
        if (!choice || !choice->Dc()) return;
        WaitCursor wait;
        // The chosen paper, orientation and printable area, not the preview's.
        std::optional<Layout> relaid = RelaidForPrinter(choice->Dc(), layout_);
        const Layout& printed = relaid ? *relaid : layout_;
        printDialog_.printedPages = printed.PageCount();
        if (choice->FirstPage() >= printed.PageCount()) {
            if (options_.host)
                options_.host->ShowMessage(Hwnd(), L"No se imprimió nada: en esta impresora el informe tiene " +
                                                       std::to_wstring(printed.PageCount()) + L" páginas.", MB_OK);
            return;
        }
        PrintLayout(choice->Dc(), printed, options_.documentName, choice->FirstPage(), choice->LastPage());
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

bool PreviewWindow::HandleKey(UINT vk, bool control) {
    if (control) {
        switch (vk) {
            case VK_OEM_PLUS: case VK_ADD: ZoomStep(+1, ZoomAnchor()); return true;
            case VK_OEM_MINUS: case VK_SUBTRACT: ZoomStep(-1, ZoomAnchor()); return true;
            case 'P': Print(); return true;
        }
        return false;
    }
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

// The wheel scrolls by its movement, however small (touchpads send a
// fraction of a notch at a time), and turns the page at the top or foot of
// one; with Ctrl it zooms about the pointer.
void PreviewWindow::OnWheel(WPARAM wParam, LPARAM lParam) {
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ScreenToClient(view_.Hwnd(), &p);
        ZoomTo(view_.Percent() * std::pow(kWheelZoom, static_cast<double>(delta) / WHEEL_DELTA), p);
        return;
    }
    wheelRest_ += delta * kWheelScroll;
    int pixels = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= pixels * WHEEL_DELTA;
    if (pixels != 0 && view_.ScrollBy(0, -pixels)) {
        turnRest_ = 0;
        return;
    }
    turnRest_ += delta;
    if (std::abs(turnRest_) < WHEEL_DELTA) return;
    if (turnRest_ < 0 && CurrentPage() + 1 < PageCount()) GoToPage(CurrentPage() + 1);
    else if (turnRest_ > 0 && CurrentPage() > 0) GoToPage(CurrentPage() - 1);
    turnRest_ = 0;
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
                case kSaveCsv: SaveCsv(); break;
                case kClose: Close(); break;
                case IDOK: ApplyBoxes(); return 0;  // Enter, sent by the dialog keys of the loop
                case kZoomBox: {
                    if (HIWORD(wParam) != CBN_SELCHANGE) return 0;
                    LRESULT item = SendMessageW(zoomBox_, CB_GETCURSEL, 0, 0);
                    if (item >= 0 && item < static_cast<LRESULT>(std::size(kZoomSteps))) {
                        RECT r{};
                        GetClientRect(view_.Hwnd(), &r);
                        ZoomTo(kZoomSteps[item], POINT{r.right / 2, r.bottom / 2});
                    }
                    return 0;
                }
                default: return Default(msg, wParam, lParam);
            }
            // Keys go on working after a button was clicked.
            if (Hwnd() && !closed_) SetFocus(view_.Hwnd());
            return 0;
        case WM_KEYDOWN:
            if (HandleKey(static_cast<UINT>(wParam), IsControlDown())) return 0;
            break;
        case WM_MOUSEWHEEL:
            OnWheel(wParam, lParam);
            return 0;
        case WM_SIZE:
            Arrange();
            ShowZoom();
            return 0;
        case WM_SYSCOMMAND:
            // Minimised, it would leave the disabled owner with nothing to close.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) return 0;
            break;
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
            (msg.message == WM_MOUSEWHEEL ||
             (msg.message == WM_KEYDOWN && IsPreviewKey(msg.wParam, IsEdit(msg.hwnd), IsControlDown())))) {
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
