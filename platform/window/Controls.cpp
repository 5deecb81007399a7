#include "Controls.h"

#include <commctrl.h>

#include <algorithm>

namespace arc {
namespace {

const wchar_t kPanelClass[] = L"ArcPanel";

COLORREF Or(COLORREF colour, int systemColour) { return colour == kNoColour ? GetSysColor(systemColour) : colour; }

// Whether the window that holds the control has a default button, which
// Enter presses.
bool HasDefaultButton(HWND control) {
    HWND window = GetAncestor(control, GA_ROOT);
    return window && HIWORD(SendMessageW(window, DM_GETDEFID, 0, 0)) == DC_HASDEFID;
}

// A text box of several lines lets Tab move the focus on, like every other
// box of the window.  Enter, too, presses the window's default button while
// there is one; a line break is then typed with Ctrl+Enter (which the box
// receives as a line feed).  Without a default button Enter types it.
LRESULT CALLBACK MultiLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(hwnd, msg, wParam, lParam);
        auto* m = reinterpret_cast<const MSG*>(lParam);
        const bool key = m && (m->message == WM_KEYDOWN || m->message == WM_CHAR);
        const bool enter = key && m->wParam == VK_RETURN && GetKeyState(VK_CONTROL) >= 0;
        if ((key && m->wParam == VK_TAB) || (enter && HasDefaultButton(hwnd)))
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return code;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, MultiLineProc, 1);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

DWORD AlignStyle(Align align, DWORD left, DWORD center, DWORD right) {
    return align == Align::Center ? center : align == Align::Right ? right : left;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

// A panel is a frame: its background colour, an etched border and its
// caption in its own font and colour over the border's top.  Its children's
// commands and colour requests go up to the window that owns the set.
LRESULT CALLBACK ControlSet::PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto* item = reinterpret_cast<const Item*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
        case WM_ERASEBKGND: {
            if (!item) break;
            RECT r;
            GetClientRect(hwnd, &r);
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetDCBrushColor(dc, Or(item->desc.back, COLOR_BTNFACE));
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return 1;
        }
        case WM_PAINT: {
            if (!item) break;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            SelectIn font(dc, item->font.Get());
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            RECT frame;
            GetClientRect(hwnd, &frame);
            frame.top = tm.tmHeight / 2;
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
            const std::wstring caption = WindowText(hwnd);
            SetTextColor(dc, Or(item->desc.fore, COLOR_BTNTEXT));
            SetBkColor(dc, Or(item->desc.back, COLOR_BTNFACE));
            SetBkMode(dc, OPAQUE);
            TextOutW(dc, tm.tmAveCharWidth, 0, caption.c_str(), static_cast<int>(caption.size()));
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ControlSet::~ControlSet() {
    if (tooltip_) DestroyWindow(tooltip_);
}

bool ControlSet::Create(HWND window, const std::vector<ControlDesc>& table, const TwipsScale& scale) {
    window_ = window;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), kPanelClass, &wc)) {
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPanelClass;
        RegisterClassExW(&wc);
    }
    std::vector<const ControlDesc*> ordered;
    for (const auto& d : table) ordered.push_back(&d);
    std::stable_sort(ordered.begin(), ordered.end(), [](const ControlDesc* a, const ControlDesc* b) {
        bool pa = a->kind == ControlKind::Panel, pb = b->kind == ControlKind::Panel;
        if (pa != pb) return pa;
        return a->tab < b->tab;
    });
    bool ok = true;
    for (const ControlDesc* d : ordered) ok = CreateOne(*d, scale) && ok;
    MakeFocusOrder();
    return ok;
}

bool ControlSet::CreateOne(const ControlDesc& d, const TwipsScale& scale) {
    auto item = std::make_unique<Item>();
    item->desc = d;
    const Item* panel = Find(d.parent);
    HWND parent = panel ? panel->hwnd : window_;
    if (d.kind == ControlKind::Custom) {
        item->hwnd = d.make ? d.make(parent, d.place, scale) : nullptr;
        if (item->hwnd) SetWindowLongPtrW(item->hwnd, GWLP_ID, d.id.Value());
    } else {
        RECT r = scale.Rect(d.place);
        // The window class, style and extended style of each kind, in the order of ControlKind.
        static const struct { const wchar_t* cls; DWORD style, ex; } kKinds[] = {
            {L"STATIC", SS_NOTIFY, 0},
            {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
            {L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, WS_EX_CLIENTEDGE},
            {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0},
            {kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
            {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0},
            {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0},
        };
        const auto& kind = kKinds[static_cast<int>(d.kind)];
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (d.visible ? WS_VISIBLE : 0) | kind.style;
        if (d.kind == ControlKind::Label)
            style |= AlignStyle(d.align, SS_LEFT, SS_CENTER, SS_RIGHT) | (d.frameBorder ? WS_BORDER : 0);
        if (d.kind == ControlKind::TextBox) style |= AlignStyle(d.align, ES_LEFT, ES_CENTER, ES_RIGHT);
        item->hwnd = CreateWindowExW(kind.ex, kind.cls, d.text.c_str(), style, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id.Value())),
                                     GetModuleHandleW(nullptr), nullptr);
        if (!item->hwnd) return false;
        if (d.kind == ControlKind::MultiLineTextBox) SetWindowSubclass(item->hwnd, MultiLineProc, 1, 0);
        if (d.kind == ControlKind::Panel) SetWindowLongPtrW(item->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(item.get()));
        item->font = MakeFont(d.font, scale);
        SendMessageW(item->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(item->font.Get()), FALSE);
        if (d.back != kNoColour) item->backBrush.Reset(CreateSolidBrush(d.back));
    }
    if (!item->hwnd) return false;
    if (!d.tooltip.empty()) AddTooltip(item->hwnd, item->desc.tooltip);
    byId_[d.id.Value()] = item.get();
    byHwnd_[item->hwnd] = item.get();
    items_.push_back(std::move(item));
    return true;
}

void ControlSet::AddTooltip(HWND control, const std::wstring& text) {
    if (!tooltip_)
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = window_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ControlSet::MakeFocusOrder() {
    // One order for the whole window, a panel's controls among the others by
    // their own tab indexes: a hidden panel's are passed over while it is hidden.
    std::vector<const Item*> all;
    for (const auto& item : items_) all.push_back(item.get());
    std::stable_sort(all.begin(), all.end(), [](const Item* a, const Item* b) { return a->desc.tab < b->desc.tab; });
    focusOrder_.clear();
    for (const Item* item : all) focusOrder_.push_back(item->hwnd);
}

ControlSet::Item* ControlSet::Find(ControlId id) const {
    auto it = byId_.find(id.Value());
    return it == byId_.end() ? nullptr : it->second;
}

HWND ControlSet::Get(ControlId id) const {
    const Item* item = Find(id);
    return item ? item->hwnd : nullptr;
}

ReflectedControl* ControlSet::WrapperOf(HWND control) const {
    auto it = byHwnd_.find(control);
    return it == byHwnd_.end() ? nullptr : it->second->desc.wrapper;
}

void ControlSet::SetForeColour(ControlId id, COLORREF colour) {
    Item* item = Find(id);
    if (!item || item->desc.fore == colour) return;
    item->desc.fore = colour;
    InvalidateRect(item->hwnd, nullptr, TRUE);
}

COLORREF ControlSet::ForeColour(ControlId id) const {
    const Item* item = Find(id);
    return item ? item->desc.fore : kNoColour;
}

void ControlSet::SetBackColour(ControlId id, COLORREF colour) {
    Item* item = Find(id);
    if (!item) return;
    item->desc.back = colour;
    item->backBrush.Reset(colour == kNoColour ? nullptr : CreateSolidBrush(colour));
    InvalidateRect(item->hwnd, nullptr, TRUE);
}

COLORREF ControlSet::BackColour(ControlId id) const {
    const Item* item = Find(id);
    return item ? item->desc.back : kNoColour;
}

HBRUSH ControlSet::OnCtlColor(HDC dc, HWND control) {
    auto it = byHwnd_.find(control);
    if (it == byHwnd_.end()) return nullptr;
    Item& item = *it->second;
    if (item.desc.fore != kNoColour) SetTextColor(dc, item.desc.fore);
    if (item.backBrush) {
        SetBkColor(dc, item.desc.back);
        return item.backBrush.Get();
    }
    switch (item.desc.kind) {
        case ControlKind::Label: {
            // Transparent: the label shows its parent's colour, a panel's
            // through the DC's own brush.
            SetBkMode(dc, TRANSPARENT);
            const Item* panel = Find(item.desc.parent);
            if (!panel) return GetSysColorBrush(COLOR_BTNFACE);
            SetDCBrushColor(dc, Or(panel->desc.back, COLOR_BTNFACE));
            return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
        }
        case ControlKind::TextBox:
        case ControlKind::MultiLineTextBox:
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return GetSysColorBrush(COLOR_WINDOW);
        default:
            return nullptr;
    }
}

}  // namespace arc
