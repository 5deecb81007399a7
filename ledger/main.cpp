// Arcandora: the ledger program.  Loads its one window and runs until the
// window closes.  A database that cannot be opened at start ends the program
// with one message, before the window is shown.
#include "Form1.h"
#include "SingleInstance.h"

#include "platform/runtime/SystemHost.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    arc::SystemHost host(L"ARCANDORA", L"C:\\ARCANDORA");
    // A second start on the same ledger shows the window already open.
    arc::SingleInstance instance(host.InstallFolder());
    if (instance.Running()) {
        if (!instance.ActivateRunning(L"ArcandoraForm1"))
            host.ShowMessage(nullptr, L"Arcandora ya está abierto con el libro de " + host.InstallFolder() +
                                          L"; termine lo que está haciendo allí.", MB_OK);
        return 0;
    }
    arc::Form1 form(host, {});
    try {
        form.Load();
    } catch (const arc::RuntimeError& e) {
        arc::ShowRuntimeError(host, nullptr, e);
        return 1;
    }
    form.Show(show);
    return arc::RunMessageLoop(form);
}
