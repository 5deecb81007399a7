// Corvelan: the repair-and-compact tool.  Shows its one window and runs until
// the window closes, by the user or at the end of a repair.
#include "Form1.h"

#include "platform/runtime/SystemHost.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    arc::SystemHost host(L"Corvelan", L"C:\\ARCANDORA");
    arc::repair::Form1 form(host, [] { PostQuitMessage(0); });
    if (!form.Create()) return 1;
    ShowWindow(form.Hwnd(), show);
    UpdateWindow(form.Hwnd());
    return arc::RunMessageLoop(form);
}
