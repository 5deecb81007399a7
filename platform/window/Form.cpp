#include "Form.h"

#include <algorithm>

namespace arc {

void ShowRuntimeError(Host& host, HWND owner, const RuntimeError& error) {
    host.ShowMessage(owner, IsOwnRefusal(error.Number()) ? error.Description() : RuntimeErrorText(error),
                     MB_OK);
}

bool Form::Create(const FormDesc& desc, const std::vector<ControlDesc>& table, HWND owner) {
    ClassDesc cls{desc.className};
    if (desc.icon) cls.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(desc.icon));
    if (!CreateWindowOf(cls, desc.exStyle, desc.caption, desc.style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner))
        return false;
    scale_ = TwipsScale::Of(Hwnd());
    RECT r{0, 0, scale_.X(desc.width), scale_.Y(desc.height)};
    AdjustWindowRectEx(&r, desc.style, FALSE, desc.exStyle);
    int w = r.right - r.left, h = r.bottom - r.top;
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &mi);
    const bool most = desc.placement == Placement::MostOfOwnersScreen;
    const RECT& area = most ? mi.rcWork : mi.rcMonitor;
    const int areaW = area.right - area.left, areaH = area.bottom - area.top;
    if (most) w = std::max(640, areaW * 9 / 10), h = std::max(480, areaH * 9 / 10);
    SetWindowPos(Hwnd(), nullptr, area.left + (areaW - w) / 2, area.top + (areaH - h) / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE | (desc.placement == Placement::SystemDefault ? SWP_NOMOVE : 0));
    return controls_.Create(Hwnd(), table, scale_);
}

void Form::SetText(ControlId id, const std::wstring& text) {
    HWND h = Control(id);
    if (h && WindowText(h) != text) SetWindowTextW(h, text.c_str());
}

void Form::Refresh(ControlId id) {
    RedrawWindow(id == ControlId() ? Hwnd() : Control(id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Form::On(ControlId control, Event event, std::function<void()> handler) {
    handlers_[{control.Value(), static_cast<UINT>(event)}] = std::move(handler);
}

void Form::OnMessage(UINT msg, MessageHandler handler) { messages_[msg].push_back(std::move(handler)); }

void Form::OnMessage(UINT msg, std::function<void()> action) {
    OnMessage(msg, [action = std::move(action)](WPARAM, LPARAM) -> Reply {
        action();
        return 0;
    });
}

void Form::SetMousePointer(MousePointer pointer) {
    pointer_ = pointer;
    SetCursor(LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

void Form::OnUnhandledError(const RuntimeError& error) { ShowRuntimeError(host_, Hwnd(), error); }

bool Form::Notify(int id, UINT code) {
    auto it = handlers_.find({id, code});
    if (it == handlers_.end()) return false;
    it->second();
    return true;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: {
            if (Notify(LOWORD(wParam), HIWORD(wParam))) return 0;
            ReflectedControl* wrapper = controls_.WrapperOf(reinterpret_cast<HWND>(lParam));
            if (wrapper && wrapper->OnReflectedCommand(HIWORD(wParam))) return 0;
            break;
        }
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            ReflectedControl* wrapper = controls_.WrapperOf(header.hwndFrom);
            if (wrapper && wrapper->OnReflectedNotify(header, result)) return result;
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (HBRUSH b = controls_.OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(b);
            break;
    }
    if (auto it = messages_.find(msg); it != messages_.end())
        for (const MessageHandler& handler : it->second)
            if (Reply reply = handler(wParam, lParam)) return *reply;
    if (msg == WM_SETCURSOR && pointer_ == MousePointer::Hourglass && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return Default(msg, wParam, lParam);
}

bool Form::PreTranslate(MSG& msg) {
    if (!Hwnd()) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 &&
        Contains(msg.hwnd)) {
        LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (!(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) && TabFrom(GetFocus(), GetKeyState(VK_SHIFT) < 0)) return true;
    }
    return IsDialogMessageW(Hwnd(), &msg) != FALSE;
}

bool Form::TabFrom(HWND focus, bool backwards) {
    // The control that holds the focus: the focus itself, or the control
    // whose inner window it is (a date field's picker).
    const std::vector<HWND>& order = controls_.FocusOrder();
    auto at = order.end();
    for (HWND h = focus; h && h != Hwnd() && at == order.end(); h = GetParent(h))
        at = std::find(order.begin(), order.end(), h);
    if (at == order.end()) return false;
    const size_t n = order.size(), from = static_cast<size_t>(at - order.begin());
    for (size_t step = 1; step < n; ++step) {
        HWND next = order[(from + (backwards ? n - step : step)) % n];
        if ((GetWindowLongW(next, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(next) && IsWindowEnabled(next)) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
            return true;
        }
    }
    return false;
}

int RunMessageLoop(Form& form) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (form.PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace arc
