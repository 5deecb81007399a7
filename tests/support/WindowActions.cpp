#include "WindowActions.h"

#include "platform/runtime/SystemHost.h"

namespace arc::test {

void Pump() { PumpPendingMessages(); }

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void ClickLabel(HWND label) {
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void TypeKeys(HWND box, const std::wstring& text) {
    SetFocus(box);
    for (wchar_t c : text) SendMessageW(box, WM_CHAR, c, 1);
}

void SetBoxText(HWND box, const std::wstring& text) {
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace arc::test
