#include "Controls.h"

#include "Twips.h"

#include <commctrl.h>

#include <algorithm>

namespace arc {
namespace {

const wchar_t kPanelClass[] = L"ArcPanel";

// A panel is a plain container: it paints its background colour and passes its children's
// commands and colour requests up to the window that owns the set.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetDCBrushColor(dc, ControlSet::PanelColour(hwnd));
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return 1;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A text box of several lines keeps Enter for its line breaks but lets Tab
// move the focus on, like every other box of the window.
LRESULT CALLBACK MultiLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(hwnd, msg, wParam, lParam);
        auto* m = reinterpret_cast<const MSG*>(lParam);
        if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_TAB)
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return code;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, MultiLineProc, 1);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void RegisterPanelClass() {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kPanelClass, &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    RegisterClassExW(&wc);
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

ControlSet::ControlSet(HWND window) : window_(window) {}

ControlSet::~ControlSet() {
    if (tooltip_) DestroyWindow(tooltip_);
}

COLORREF ControlSet::PanelColour(HWND panel) {
    auto c = static_cast<COLORREF>(GetWindowLongPtrW(panel, GWLP_USERDATA));
    return c ? c - 1 : GetSysColor(COLOR_BTNFACE);
}

bool ControlSet::Create(const std::vector<ControlDesc>& descs, int dpiX, int dpiY) {
    RegisterPanelClass();
    std::vector<const ControlDesc*> ordered;
    for (const auto& s : descs) ordered.push_back(&s);
    // Panels first so their children have a parent; then focus order.
    std::stable_sort(ordered.begin(), ordered.end(), [](const ControlDesc* a, const ControlDesc* b) {
        bool pa = a->kind == ControlKind::Panel, pb = b->kind == ControlKind::Panel;
        if (pa != pb) return pa;
        return a->tabIndex < b->tabIndex;
    });
    bool ok = true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    for (const ControlDesc* s : ordered) {
        auto item = std::make_unique<Item>();
        item->desc = *s;
        HWND parent = window_;
        if (!s->parent.empty()) {
            auto it = byName_.find(s->parent);
            if (it != byName_.end()) parent = it->second->hwnd;
        }
        RECT r = TwipsRect(s->left, s->top, s->width, s->height, dpiX, dpiY);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (s->visible ? WS_VISIBLE : 0);
        DWORD ex = 0;
        const wchar_t* cls = L"STATIC";
        switch (s->kind) {
            case ControlKind::Label:
                style |= SS_NOTIFY | (s->align == Align::Center ? SS_CENTER : s->align == Align::Right ? SS_RIGHT : SS_LEFT);
                if (s->frameBorder) style |= WS_BORDER;
                break;
            case ControlKind::TextBox:
                cls = L"EDIT";
                ex = WS_EX_CLIENTEDGE;
                style |= WS_TABSTOP | ES_AUTOHSCROLL |
                         (s->align == Align::Center ? ES_CENTER : s->align == Align::Right ? ES_RIGHT : ES_LEFT);
                break;
            case ControlKind::MultiLineTextBox:
                cls = L"EDIT";
                ex = WS_EX_CLIENTEDGE;
                style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
                break;
            case ControlKind::Button:
                cls = L"BUTTON";
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
            case ControlKind::Panel:
                cls = kPanelClass;
                ex = WS_EX_CONTROLPARENT;
                style |= WS_CLIPCHILDREN;
                break;
        }
        item->hwnd = CreateWindowExW(ex, cls, s->text.c_str(), style, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->id)),
                                     inst, nullptr);
        if (!item->hwnd) {
            ok = false;
            continue;
        }
        if (s->kind == ControlKind::MultiLineTextBox) SetWindowSubclass(item->hwnd, MultiLineProc, 1, 0);
        if (s->kind == ControlKind::Panel)
            SetWindowLongPtrW(item->hwnd, GWLP_USERDATA, static_cast<LONG_PTR>((s->back == kNoColour ? GetSysColor(COLOR_BTNFACE) : s->back) + 1));
        item->font = MakeFont(s->font, dpiY);
        SendMessageW(item->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(item->font.Get()), FALSE);
        if (s->back != kNoColour) item->backBrush.Reset(CreateSolidBrush(s->back));
        if (!s->tooltip.empty()) {
            if (!tooltip_)
                tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                           window_, nullptr, inst, nullptr);
            if (tooltip_) {
                TTTOOLINFOW ti{};
                ti.cbSize = sizeof ti;
                ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
                ti.hwnd = window_;
                ti.uId = reinterpret_cast<UINT_PTR>(item->hwnd);
                ti.lpszText = const_cast<wchar_t*>(item->desc.tooltip.c_str());
                SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
            }
        }
        byName_[s->name] = item.get();
        byHwnd_[item->hwnd] = item.get();
        items_.push_back(std::move(item));
    }
    return ok;
}

HWND ControlSet::Get(const std::wstring& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second->hwnd;
}

const ControlDesc* ControlSet::Desc(const std::wstring& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &it->second->desc;
}

const std::wstring* ControlSet::NameOf(HWND control) const {
    auto it = byHwnd_.find(control);
    return it == byHwnd_.end() ? nullptr : &it->second->desc.name;
}

void ControlSet::SetForeColour(const std::wstring& name, COLORREF colour) {
    auto it = byName_.find(name);
    if (it == byName_.end()) return;
    if (it->second->desc.fore == colour) return;
    it->second->desc.fore = colour;
    InvalidateRect(it->second->hwnd, nullptr, TRUE);
}

COLORREF ControlSet::ForeColour(const std::wstring& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? kNoColour : it->second->desc.fore;
}

void ControlSet::SetBackColour(const std::wstring& name, COLORREF colour) {
    auto it = byName_.find(name);
    if (it == byName_.end()) return;
    it->second->desc.back = colour;
    it->second->backBrush.Reset(colour == kNoColour ? nullptr : CreateSolidBrush(colour));
    if (it->second->desc.kind == ControlKind::Panel)
        SetWindowLongPtrW(it->second->hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(colour + 1));
    InvalidateRect(it->second->hwnd, nullptr, TRUE);
}

COLORREF ControlSet::BackColour(const std::wstring& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? kNoColour : it->second->desc.back;
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
    if (item.desc.kind == ControlKind::Label) {
        // Transparent: the label shows its parent's colour.
        HWND parent = GetParent(control);
        SetBkMode(dc, TRANSPARENT);
        wchar_t cls[32] = {};
        GetClassNameW(parent, cls, 32);
        if (lstrcmpW(cls, kPanelClass) == 0) {
            // The DC's own brush, set to the panel's colour.
            SetDCBrushColor(dc, PanelColour(parent));
            return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
        }
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    if (item.desc.kind == ControlKind::TextBox || item.desc.kind == ControlKind::MultiLineTextBox) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    return nullptr;
}

}  // namespace arc
