// Corvelan: the repair-and-compact tool.
#include <windows.h>

#include "platform/window/Window.h"

namespace {

class EmptyForm : public arc::Window {
public:
    bool Create() {
        ClassSpec cls{L"CorvelanForm1"};
        cls.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        return CreateWindowOf(cls, 0, L"Repara y compacta BD", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                              CW_USEDEFAULT, 580, 130, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return Default(msg, wParam, lParam);
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    EmptyForm form;
    if (!form.Create()) return 1;
    ShowWindow(form.Hwnd(), show);
    return arc::RunMessageLoop(form.Hwnd());
}
