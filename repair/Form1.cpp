#include "Form1.h"

#include "platform/runtime/Error.h"
#include "platform/window/Twips.h"

#include <vector>

namespace arc::repair {
namespace {

constexpr int kCommand1Id = 1;
// Client area of the window in twips.
constexpr int kClientWidth = 8355;
constexpr int kClientHeight = 1200;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

ControlDesc Desc(ControlKind kind, const wchar_t* name, int left, int top, int width, int height,
                 const wchar_t* text, FontDesc font, int tabIndex) {
    ControlDesc c{};
    c.kind = kind;
    c.name = name;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = text;
    c.font = std::move(font);
    c.tabIndex = tabIndex;
    return c;
}

// The design of the window, in twips.
std::vector<ControlDesc> Layout() {
    ControlDesc command1 =
        Desc(ControlKind::Button, L"Command1", 6960, 120, 1335, 375, L"... Explorar", {L"MS Sans Serif", 8.25, true}, 0);
    command1.id = kCommand1Id;
    ControlDesc label2 =
        Desc(ControlKind::Label, L"Label2", 120, 720, 8055, 255, L"Preparando...", {L"MS Sans Serif", 9.75, true}, 1);
    label2.fore = kStatusText;
    label2.back = kStatusBlue;
    label2.visible = false;
    ControlDesc label1 = Desc(ControlKind::Label, L"Label1", 120, 120, 7215, 495, L"", {}, 2);
    return {command1, label2, label1};
}

}  // namespace

Form1::Form1(Host& host, std::function<void()> onEnd) : host_(host), onEnd_(std::move(onEnd)) {}

Form1::~Form1() = default;

bool Form1::Create() {
    ClassDesc cls{L"CorvelanForm1"};
    cls.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    const int dpiX = ScreenDpiX(), dpiY = ScreenDpiY();
    RECT r{0, 0, TwipsToPixels(kClientWidth, dpiX), TwipsToPixels(kClientHeight, dpiY)};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    if (!CreateWindowOf(cls, 0, L"Repara y compacta BD", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                        r.bottom - r.top, nullptr))
        return false;
    controls_ = std::make_unique<ControlSet>(Hwnd());
    return controls_->Create(Layout(), dpiX, dpiY);
}

HWND Form1::Control(const std::wstring& name) const { return controls_ ? controls_->Get(name) : nullptr; }

COLORREF Form1::StatusBackColour() const { return controls_ ? controls_->BackColour(L"Label2") : kNoColour; }

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCommand1Id && HIWORD(wParam) == BN_CLICKED) {
                Command1_Click();
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (controls_) {
                if (HBRUSH b = controls_->OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                    return reinterpret_cast<LRESULT>(b);
            }
            break;
        case WM_SETCURSOR:
            if (mousePointer_ == kPointerHourglass && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_DESTROY:
            ending_ = true;
            if (onEnd_) onEnd_();
            return 0;
    }
    return Default(msg, wParam, lParam);
}

void Form1::OnUnhandledError() {
    // Anything unforeseen ends the program as a failing step would.
    ShowRuntimeError(kErrInternal, L"Internal error");
    EndProgram();
}

void Form1::ShowRuntimeError(long number, const std::wstring& description) {
    host_.ShowMessage(Hwnd(), L"Error " + std::to_wstring(number) + L":\n\n" + description, MB_OK | MB_ICONERROR);
}

void Form1::SetCaption(const std::wstring& name, const std::wstring& text) {
    SetWindowTextW(controls_->Get(name), text.c_str());
}

std::wstring Form1::Caption(const std::wstring& name) const { return WindowText(controls_->Get(name)); }

void Form1::RepaintWindow() {
    // The window clips its children, so this repaints its own background only.
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Form1::RepaintControl(const std::wstring& name) {
    RedrawWindow(controls_->Get(name), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Form1::SetStatusBackColour(COLORREF colour) { controls_->SetBackColour(L"Label2", colour); }

void Form1::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    // No message is handled while the repair runs, so set the shape now
    // rather than waiting for WM_SETCURSOR.
    SetCursor(LoadCursorW(nullptr, pointer == kPointerHourglass ? IDC_WAIT : IDC_ARROW));
}

void Form1::EndProgram() {
    // All windows close and no further event of this window runs; what
    // follows (the end of the message loop) is onEnd_'s matter.
    if (Hwnd() && !ending_) DestroyWindow(Hwnd());
}

}  // namespace arc::repair
