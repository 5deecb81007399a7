#include "PreviewWindow.h"

#include "CsvWriter.h"
#include "PdfWriter.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <vector>

namespace arc::report {
namespace {

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

PreviewWindow::PreviewWindow(Host& host, const Layout& layout, const PreviewOptions& options)
    : ModalForm(host), layout_(layout), options_(options), view_(layout) {}

bool PreviewWindow::Create(HWND owner) {
    // The tool bar: a row of controls, each after the one before.
    constexpr int top = 60, gap = 60, bh = 360;
    using K = arc::ControlKind;
    using arc::Align;
    std::vector<ControlDesc> bar = {
        {.id = kFirst, .kind = K::Button, .place = {0, top, 450, bh}, .text = L"|<", .tooltip = L"Primera página"},
        {.id = kPrevious, .kind = K::Button, .place = {0, top, 450, bh}, .text = L"<", .tooltip = L"Página anterior"},
        {.id = kNext, .kind = K::Button, .place = {0, top, 450, bh}, .text = L">", .tooltip = L"Página siguiente"},
        {.id = kLast, .kind = K::Button, .place = {0, top, 450, bh}, .text = L">|", .tooltip = L"Última página"},
        {.id = kPageText, .kind = K::Label, .place = {0, top + 60, 1700, bh}, .align = Align::Center},
        {.id = kPageBoxLabel, .kind = K::Label, .place = {0, top + 60, 450, bh}, .text = L"Ir a:", .align = Align::Center},
        {.id = kPageBox, .kind = K::TextBox, .place = {0, top, 600, bh - 30}, .text = L"1", .align = Align::Right,
         .tooltip = L"Número de página e Intro"},
        {.id = kFitPage, .kind = K::Button, .place = {0, top, 1600, bh}, .text = L"Página completa"},
        {.id = kFitWidth, .kind = K::Button, .place = {0, top, 1600, bh}, .text = L"Ancho de página"},
        {.id = kActual, .kind = K::Button, .place = {0, top, 700, bh}, .text = L"100%"},
        {.id = kZoomBox, .kind = K::ComboBox, .place = {0, top, 1100, 4500}},
        {.id = kPrint, .kind = K::Button, .place = {0, top, 1100, bh}, .text = L"Imprimir", .tooltip = L"Imprimir (Ctrl+P)"},
        {.id = kSavePdf, .kind = K::Button, .place = {0, top, 1400, bh}, .text = L"Guardar PDF"},
        {.id = kSaveCsv, .kind = K::Button, .place = {0, top, 1400, bh}, .text = L"Guardar CSV",
         .tooltip = L"Copia para hoja de cálculo"},
        {.id = kClose, .kind = K::Button, .place = {0, top, 1000, bh}, .text = L"Cerrar"},
    };
    if (layout_.Model().exportColumns.empty())
        std::erase_if(bar, [](const ControlDesc& c) { return c.id == ControlId(kSaveCsv); });
    int left = gap, tab = 0;
    for (ControlDesc& c : bar) {
        c.place.left = left;
        left += c.place.width + gap;
        c.tab = tab++;
    }
    const FormDesc desc{.className = L"ArcReportPreview",
                        .caption = kCaption,
                        .style = (WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX) | WS_CLIPCHILDREN,
                        .exStyle = 0,
                        .placement = Placement::MostOfOwnersScreen};
    if (!Form::Create(desc, bar, owner)) return false;
    HWND pageBox = Control(kPageBox);
    SetWindowLongPtrW(pageBox, GWL_STYLE, GetWindowLongPtrW(pageBox, GWL_STYLE) | ES_NUMBER);
    for (int step : kZoomSteps)
        SendMessageW(Control(kZoomBox), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((std::to_wstring(step) + L"%").c_str()));
    toolbarHeight_ = Scale().Y(top * 2 + bh);
    if (!view_.Create(Hwnd())) return false;
    Connect();
    Arrange();
    GoToPage(0);
    ShowZoom();
    return true;
}

void PreviewWindow::Connect() {
    // Keys go on working after a button was clicked.
    const auto button = [this](Command id, std::function<void()> action) {
        On(id, Event::Click, [this, action] {
            action();
            if (Hwnd() && !Ended()) SetFocus(view_.Hwnd());
        });
    };
    button(kFirst, [this] { HandleKey(VK_HOME); });
    button(kPrevious, [this] { HandleKey(VK_PRIOR); });
    button(kNext, [this] { HandleKey(VK_NEXT); });
    button(kLast, [this] { HandleKey(VK_END); });
    button(kFitPage, [this] { SetZoom(Zoom::FitPage); });
    button(kFitWidth, [this] { SetZoom(Zoom::FitWidth); });
    button(kActual, [this] { SetZoom(Zoom::Actual); });
    button(kPrint, [this] { Print(); });
    button(kSavePdf, [this] { SavePdf(); });
    button(kSaveCsv, [this] { SaveCsv(); });
    button(kClose, [this] { Close(); });
    On(kEnter, Event::Click, [this] { ApplyBoxes(); });
    On(kZoomBox, Event::SelectionChange, [this] {
        LRESULT item = SendMessageW(Control(kZoomBox), CB_GETCURSEL, 0, 0);
        if (item >= 0 && item < static_cast<LRESULT>(std::size(kZoomSteps))) ZoomTo(kZoomSteps[item], ViewCentre());
    });
    OnMessage(WM_KEYDOWN, [this](WPARAM key, LPARAM) -> Reply {
        if (HandleKey(static_cast<UINT>(key), IsControlDown())) return 0;
        return {};
    });
    OnMessage(WM_MOUSEWHEEL, [this](WPARAM wParam, LPARAM lParam) -> Reply {
        OnWheel(wParam, lParam);
        return 0;
    });
    OnMessage(WM_SIZE, [this] {
        Arrange();
        ShowZoom();
    });
    // Minimised, it would leave the disabled owner with nothing to close.
    OnMessage(WM_SYSCOMMAND, [](WPARAM command, LPARAM) -> Reply {
        if ((command & 0xFFF0) == SC_MINIMIZE) return 0;
        return {};
    });
    OnMessage(WM_SETFOCUS, [this] { SetFocus(view_.Hwnd()); });
    OnMessage(WM_CLOSE, [this] { Close(); });
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
    std::wstring text = std::to_wstring(static_cast<int>(std::lround(view_.Percent()))) + L"%";
    SetWindowTextW(Control(kZoomBox), text.c_str());
}

POINT PreviewWindow::ViewCentre() const {
    RECT r{};
    GetClientRect(view_.Hwnd(), &r);
    return POINT{r.right / 2, r.bottom / 2};
}

// The pointer when it is over the page view, otherwise the view's centre.
POINT PreviewWindow::ZoomAnchor() const {
    RECT r{};
    GetClientRect(view_.Hwnd(), &r);
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(view_.Hwnd(), &p);
    return PtInRect(&r, p) ? p : ViewCentre();
}

// Enter in the "go to page" box or the zoom box applies what it holds.
void PreviewWindow::ApplyBoxes() {
    HWND focus = GetFocus();
    if (focus == Control(kPageBox)) {
        long page = std::wcstol(WindowText(focus).c_str(), nullptr, 10);
        GoToPage(page > 1 ? static_cast<size_t>(page - 1) : 0);
        SetFocus(view_.Hwnd());
    } else if (HWND zoomBox = Control(kZoomBox); focus == zoomBox || IsChild(zoomBox, focus)) {
        wchar_t* end = nullptr;
        std::wstring text = WindowText(zoomBox);
        double percent = std::wcstod(text.c_str(), &end);
        if (end != text.c_str() && percent > 0) ZoomTo(percent, ViewCentre());
        else ShowZoom();
        SetFocus(view_.Hwnd());
    }
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
    Hourglass wait(*this);
    WritePdf(layout_, path);
}

void PreviewWindow::SaveCsv() {
    if (layout_.Model().exportColumns.empty() || !layout_.Source()) return;
    std::wstring path = ChooseSaveFile(L"csv");
    if (path.empty()) return;
    Hourglass wait(*this);
    WriteCsv(*layout_.Source(), layout_.Model().exportColumns, layout_.RegionalSettings(), path);
}

void PreviewWindow::Print() {
    auto choice = options_.choosePrinter ? options_.choosePrinter(Hwnd(), PageCount())
                                         : ChoosePrinter(Hwnd(), PageCount(), printDialog_);
    if (!choice || !choice->Dc()) return;
    Hourglass wait(*this);
    // The chosen paper, orientation and printable area, not the preview's.
    std::optional<Layout> relaid = RelaidForPrinter(choice->Dc(), layout_);
    const Layout& printed = relaid ? *relaid : layout_;
    printDialog_.printedPages = printed.PageCount();
    if (choice->FirstPage() >= printed.PageCount()) {
        host_.ShowMessage(Hwnd(), L"No se imprimió nada: en esta impresora el informe tiene " +
                                      std::to_wstring(printed.PageCount()) + L" páginas.", MB_OK);
        return;
    }
    PrintLayout(choice->Dc(), printed, options_.documentName, choice->FirstPage(), choice->LastPage());
}

void PreviewWindow::Close() {
    if (Ended() || !Hwnd()) return;
    if (options_.onClosing) options_.onClosing(*this);
    EndModal();
}

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

// The preview's keys and wheel work wherever the focus is inside it.
bool PreviewWindow::RouteMessage(MSG& msg) {
    if (!Contains(msg.hwnd) ||
        !(msg.message == WM_MOUSEWHEEL ||
          (msg.message == WM_KEYDOWN && IsPreviewKey(msg.wParam, IsEdit(msg.hwnd), IsControlDown()))))
        return false;
    SendMessageW(Hwnd(), msg.message, msg.wParam, msg.lParam);
    return true;
}

void PreviewWindow::ShowModal(HWND owner, Host& host, const Layout& layout, const PreviewOptions& options) {
    PreviewWindow preview(host, layout, options);
    if (!preview.Create(owner))
        throw RuntimeError(static_cast<long>(GetLastError()), L"No se pudo crear la ventana de la vista previa.");
    preview.RunModal(owner, [&preview, &options] {
        SetFocus(preview.view_.Hwnd());
        if (options.onShown) options.onShown(preview);
    });
}

}  // namespace arc::report
