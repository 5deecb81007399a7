#include "ModalForm.h"

namespace arc {

ModalForm::ModalForm(Host& host) : Form(host) {
    OnMessage(WM_DESTROY, [this](WPARAM, LPARAM) -> Reply {
        ended_ = true;
        RestoreOwner();
        return {};
    });
}

ModalForm::~ModalForm() { RestoreOwner(); }

void ModalForm::RestoreOwner() {
    if (!ownerDisabled_) return;
    ownerDisabled_ = false;
    EnableWindow(owner_, TRUE);
    SetActiveWindow(owner_);
}

void ModalForm::EndModal() {
    if (ended_) return;
    ended_ = true;
    RestoreOwner();
    if (Hwnd()) DestroyWindow(Hwnd());
}

void ModalForm::RunModal(HWND owner, const std::function<void()>& shown) {
    owner_ = owner;
    ended_ = false;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        ownerDisabled_ = true;
    }
    ShowWindow(Hwnd(), SW_SHOW);
    UpdateWindow(Hwnd());
    if (shown) shown();

    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (!ended_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) break;
        if (RouteMessage(msg) || PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!ended_) CloseWindow();
    EndModal();
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace arc
