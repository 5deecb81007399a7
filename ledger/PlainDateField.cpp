#include "PlainDateField.h"

#include "platform/runtime/DateValue.h"
#include "platform/window/Twips.h"

#include <commctrl.h>

namespace arc {

PlainDateField::PlainDateField(HWND parent, int id, const RECT& r, const Regional& regional) : regional_(regional) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                            r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    font_ = MakeFont(FontSpec{L"Arial", 12}, ScreenDpiY());
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

PlainDateField::~PlainDateField() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void PlainDateField::SetDateTime(double date) {
    SYSTEMTIME st = ToSystemTime(DateOnly(date));
    SendMessageW(hwnd_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void PlainDateField::SetDateTimeText(const std::wstring& text) {
    if (auto d = ParseDate(text, regional_)) SetDateTime(*d);
}

double PlainDateField::DateTime() const {
    SYSTEMTIME st{};
    if (SendMessageW(hwnd_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return 0;
    return DateSerial(st.wYear, st.wMonth, st.wDay);
}

}  // namespace arc
