// The picker window's life: rebuilds, painting, keys, Change, focus and the
// end of an instance.
#include "PickerTestSupport.h"

namespace arc {
namespace {

class PickerWindow : public ::testing::Test {
protected:
};

TEST_F(PickerWindow, RebuildShowsTheStoredValueNotTheUsersPick) {
    HostedPicker h(TestTop());
    h.InitNew();
    h.picker.SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    HWND first = h.picker.hwnd();
    UserPicks(first, DateSerial(2024, 7, 1));
    h.picker.SetUpDown(true);
    EXPECT_NE(h.picker.hwnd(), first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(PickerValue(h.picker.hwnd()), DateSerial(2024, 3, 5));
}

TEST_F(PickerWindow, RebuildWithCheckValueFalseShowsTheBoxCleared) {
    HostedPicker h(TestTop());
    h.InitNew();
    h.picker.SetCheckBox(true);
    h.picker.SetCheckValue(false);
    h.picker.SetFormat(ucDateTime::FormatLongDate);
    EXPECT_FALSE(h.picker.CheckValue());
    EXPECT_EQ(h.picker.DateTime(), Variant::Text(L""));
}

TEST_F(PickerWindow, StyleAndSizeFollowTheSettingsAndTheContainer) {
    HostedPicker h(TestTop());
    h.InitNew();
    h.picker.SetEnabled(false);
    h.picker.SetCheckBox(true);
    h.picker.SetFormat(ucDateTime::FormatTime);
    LONG style = GetWindowLongW(h.picker.hwnd(), GWL_STYLE);
    EXPECT_EQ(style & (DTS_SHOWNONE | DTS_TIMEFORMAT | WS_DISABLED), DTS_SHOWNONE | DTS_TIMEFORMAT | WS_DISABLED);
    EXPECT_EQ(GetWindowLongW(h.picker.hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    h.picker.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(h.picker.hwnd()));

    h.container.Move(10, 10, 200, 40);
    RECT r{};
    GetWindowRect(h.picker.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 40);
    EXPECT_EQ(h.container.ScaleWidth(), 200 * h.container.TwipsPerPixelX());
}

TEST_F(PickerWindow, CalendarColoursAreKeptAndUntranslatableOnesRefused) {
    HostedPicker h(TestTop());
    h.InitNew();
    h.picker.SetCalendarBackColor(RGB(1, 2, 3));
    h.picker.SetCalendarTrailingForeColor(0x80000008);  // system colour 8, window text
    h.picker.SetUpDown(true);
    EXPECT_EQ(SendMessageW(h.picker.hwnd(), DTM_GETMCCOLOR, MCSC_MONTHBK, 0), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(h.picker.hwnd(), DTM_GETMCCOLOR, MCSC_TRAILINGTEXT, 0)),
              GetSysColor(COLOR_WINDOWTEXT));

    EXPECT_EQ(Raised([&] { h.picker.SetCalendarForeColor(0x7F000000); }).Number(), 380);
    EXPECT_EQ(Raised([&] { h.picker.SetTextBackColor(0x7F000000); }).Number(), 380);
    EXPECT_EQ(h.picker.CalendarForeColor(), 0x80000012u);
    EXPECT_EQ(h.picker.TextBackColor(), 0x80000005u);
}

TEST_F(PickerWindow, BackgroundIsPaintedWithTheTextBackColourBrush) {
    HostedPicker h(TestTop());
    h.InitNew();
    HBRUSH first = ucDateTimeProbe::Brush(h.picker);
    h.picker.SetTextBackColor(RGB(200, 10, 20));
    EXPECT_EQ(GetObjectType(first), 0u);  // the previous brush is gone

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 60);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(h.picker.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(200, 10, 20));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(PickerWindow, KeysRaiseEventsWithMaskedCodesAndTheShiftMask) {
    HostedPicker h(TestTop());
    h.InitNew();
    h.container.SetEventHandler([&](int number, const std::wstring& name, std::vector<Variant>& args) {
        h.events.push_back({number, name, args});
        args[0] = Variant::Integer(0);  // a handler's change is not read back
    });
    // The picker is an ANSI window: narrow messages reach it unconverted.
    SendMessageA(h.picker.hwnd(), WM_KEYDOWN, 0x18041, 0);
    SendMessageA(h.picker.hwnd(), WM_CHAR, 0x180E1, 0);
    SendMessageA(h.picker.hwnd(), WM_KEYUP, 0x8041, 0);
    ASSERT_EQ(h.events.size(), 3u);
    EXPECT_EQ(h.events[0].number, ucDateTime::EventKeyDown);
    EXPECT_EQ(h.events[0].name, L"KeyDown");
    EXPECT_EQ(h.events[0].args[0], Variant::Integer(0x0041));
    EXPECT_EQ(h.events[0].args[1], Variant::Integer(0));
    EXPECT_EQ(h.events[1].number, ucDateTime::EventKeyPress);
    EXPECT_EQ(h.events[1].args.size(), 1u);
    EXPECT_EQ(h.events[1].args[0], Variant::Integer(0x00E1));
    EXPECT_EQ(h.events[2].name, L"KeyUp");
    EXPECT_EQ(h.events[2].args[0], Variant::Integer(0x0041));

    // The mask reads the keys held when the message is handled.
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_CONTROL, 0, 0, 0);
    SendMessageW(h.picker.hwnd(), WM_KEYDOWN, 'A', 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    SendMessageW(h.picker.hwnd(), WM_KEYDOWN, 'A', 0);
    ASSERT_EQ(h.events.size(), 5u);
    EXPECT_EQ(h.events[3].args[1], Variant::Integer(3));
    EXPECT_EQ(h.events[4].args[1], Variant::Integer(0));
}

// What a picker sends its parent when the user changes its value.
void NotifyChange(HostedPicker& h) {
    NMDATETIMECHANGE n{};
    n.nmhdr.hwndFrom = h.picker.hwnd();
    n.nmhdr.code = DTN_DATETIMECHANGE;
    SendMessageW(h.container.Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

TEST_F(PickerWindow, ChangeReachesTheHostOnlyForAnInstanceLoadedWhileRunning) {
    HostedPicker running(TestTop());
    running.Load(L"");
    HostedPicker placed(TestTop());
    placed.InitNew();
    HostedPicker designed(TestTop(), false);
    designed.Load(L"");
    for (HostedPicker* h : {&running, &placed, &designed}) NotifyChange(*h);
    EXPECT_EQ(running.Count(ucDateTime::EventChange), 1);
    EXPECT_EQ(placed.Count(ucDateTime::EventChange), 0);
    EXPECT_EQ(designed.Count(ucDateTime::EventChange), 0);
    // The control's own setting of the value is no user's change.
    running.picker.SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    running.picker.SetCheckValue(true);
    EXPECT_EQ(running.Count(ucDateTime::EventChange), 1);

    // A key that changes the value, as a user's, raises it too.
    SetFocus(running.picker.hwnd());
    SendMessageW(running.picker.hwnd(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(running.Count(ucDateTime::EventChange), 2);
}

TEST_F(PickerWindow, FocusGoesToThePickerAndItsNoticeProcessesPendingMessages) {
    // Only an instance loaded while running hears the picker's focus notice.
    for (bool running : {false, true}) {
        HostedPicker h(TestTop());
        if (running) h.Load(L"");
        else h.InitNew();
        SetFocus(TestTop());
        PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
        SetFocus(h.container.Hwnd());
        EXPECT_EQ(GetFocus(), h.picker.hwnd());
        MSG m;
        EXPECT_EQ(PeekMessageW(&m, nullptr, WM_APP, WM_APP, PM_REMOVE) != FALSE, !running);
    }
}

TEST_F(PickerWindow, TerminateLeavesNoSubclassedWindowAndNoBrush) {
    HostedPicker h(TestTop());
    LONG_PTR ownProcedure = GetWindowLongPtrW(h.container.Hwnd(), GWLP_WNDPROC);
    h.Load(L"");
    HWND picker = h.picker.hwnd();
    HBRUSH brush = ucDateTimeProbe::Brush(h.picker);
    EXPECT_NE(GetWindowLongPtrW(h.container.Hwnd(), GWLP_WNDPROC), ownProcedure);
    ASSERT_NE(GetObjectType(brush), 0u);

    h.container.Unload();
    EXPECT_EQ(GetWindowLongPtrW(h.container.Hwnd(), GWLP_WNDPROC), ownProcedure);
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_EQ(h.picker.hwnd(), nullptr);
    EXPECT_EQ(GetObjectType(brush), 0u);
    NotifyChange(h);  // nobody listens any more
    EXPECT_EQ(h.Count(ucDateTime::EventChange), 0);
}

TEST_F(PickerWindow, DestroyingTheHostWindowEndsTheInstanceFirst) {
    auto parent = std::make_unique<HostWindow>();
    HostedPicker h(parent->Get());
    h.Load(L"");
    HWND picker = h.picker.hwnd();
    parent.reset();
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_EQ(h.picker.hwnd(), nullptr);
    EXPECT_EQ(h.picker.GetCaption(), L"");
}

}  // namespace
}  // namespace arc
