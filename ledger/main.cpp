// Arcandora: the ledger program.  Loads its one window and runs until it closes.
#include <windows.h>

#include "platform/window/Window.h"

namespace {

class EmptyForm : public arc::Window {
public:
    bool Create() {
        ClassSpec cls{L"ArcandoraForm1"};
        cls.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        return CreateWindowOf(cls, 0, L"Informe Financiero", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                              CW_USEDEFAULT, 900, 650, nullptr);
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
