// The picker's settings kept with its host's design, and the main window's
// date fields made of it.
#include "PickerTestSupport.h"
#include "ledger/PickerDateField.h"
#include "platform/window/Twips.h"

#include <cmath>

#include <algorithm>

namespace arc {
namespace {

class PickerPersistence : public ::testing::Test {
protected:
};

std::vector<std::wstring> Keys(const std::wstring& design) {
    return PropertyBag::FromText(design, Regional{}).Keys();
}

TEST_F(PickerPersistence, NewInstanceStoresOnlyTheContainersSize) {
    HostedPicker h(TestTop());
    h.InitNew();
    EXPECT_EQ(Keys(h.SaveText()), (std::vector<std::wstring>{L"Width", L"Height"}));
    EXPECT_EQ(h.picker.Format(), ucDateTime::FormatShortDate);
    EXPECT_TRUE(h.picker.CheckValue());
    EXPECT_EQ(h.container.ChangedKeys(), std::vector<std::wstring>{L"TextBackColor"});
}

TEST_F(PickerPersistence, AllSixteenKeysRoundTrip) {
    HostedPicker first(TestTop());
    first.InitNew();
    ucDateTime& p = first.picker;
    p.SetMinDate(DateSerial(2000, 1, 1));
    p.SetMaxDate(DateSerial(2030, 12, 31) + TimeSerial(23, 0, 0));
    p.SetUpDown(true);
    p.SetCheckBox(true);
    p.SetCheckValue(false);
    p.SetEnabled(false);
    p.SetTextBackColor(RGB(255, 255, 200));
    p.SetCalendarBackColor(RGB(1, 1, 1));
    p.SetCalendarForeColor(RGB(2, 2, 2));
    p.SetCalendarTitleBackColor(RGB(3, 3, 3));
    p.SetCalendarTitleForeColor(RGB(4, 4, 4));
    p.SetCalendarTrailingForeColor(RGB(5, 5, 5));
    p.SetDateTime(Variant::Text(L"2024-03-05"));
    p.SetCustomFormat(L"dd 'de' MMMM");
    p.SetFormat(ucDateTime::FormatCustom);
    p.SetFont(FontDesc{L"Arial", 12, true, false});
    std::wstring design = first.SaveText();
    std::vector<std::wstring> keys = Keys(design);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"Width", L"Height", L"MinDate", L"MaxDate", L"UpDown", L"CheckBox",
                                               L"CheckValue", L"Enabled", L"TextBackColor", L"BackColor", L"ForeColor",
                                               L"TitleBackColor", L"TitleForeColor", L"TrailingForeColor", L"DateTime",
                                               L"CustomFormat", L"Format", L"Font"}));

    HostedPicker second(TestTop());
    second.Load(design);
    ucDateTime& q = second.picker;
    EXPECT_EQ(q.MaxDate(), p.MaxDate());
    EXPECT_EQ(q.DateTime(), Variant::Text(L""));  // the box is cleared again
    EXPECT_FALSE(IsWindowEnabled(q.hwnd()));
    EXPECT_EQ(GetWindowLongW(q.hwnd(), GWL_STYLE) & (DTS_UPDOWN | DTS_SHOWNONE), DTS_UPDOWN | DTS_SHOWNONE);
    EXPECT_EQ(SendMessageW(q.hwnd(), DTM_GETMCCOLOR, MCSC_TITLETEXT, 0), RGB(4, 4, 4));
    EXPECT_EQ(second.SaveText(), design);
}

TEST_F(PickerPersistence, ReadingStoresDirectlyAndAppliesOnlyWhatARebuildApplies) {
    HostedPicker h(TestTop());
    h.Load(L"MinDate=date:1500-01-01 00:00:00\r\n"
           L"DateTime=date:1400-01-01 00:00:00\r\n"
           L"Format=text:\"3\"\r\n"
           L"CustomFormat=text:\"'Dia' d\"\r\n"
           L"Font=font:\"Arial\",12,False,False\r\n");
    EXPECT_EQ(h.picker.MinDate(), DateSerial(1500, 1, 1));  // no limit check on reading
    EXPECT_EQ(h.picker.Format(), ucDateTime::FormatCustom);
    EXPECT_EQ(h.picker.GetCaption().substr(0, 4), L"Dia ");
    // A stored value out of range is kept but not shown: the picker keeps its first value.
    EXPECT_NE(h.picker.Year(), 1400);
    EXPECT_NE(h.SaveText().find(L"DateTime=date:1400-01-01"), std::wstring::npos);
    // The design's font is the control's, not its picker's.
    EXPECT_EQ(h.picker.Font().face, L"Arial");
    EXPECT_NE(SendMessageW(h.picker.hwnd(), WM_GETFONT, 0, 0), SendMessageW(h.container.Hwnd(), WM_GETFONT, 0, 0));

    HostedPicker shown(TestTop());
    shown.Load(L"DateTime=text:\"2024-03-05\"");
    EXPECT_EQ(shown.picker.DateTime(), Variant::Date(DateSerial(2024, 3, 5)));
}

class FixedHost : public Host {
public:
    std::wstring InstallFolder() override { return L""; }
    std::wstring ProgramFolder() override { return L""; }
    SYSTEMTIME Now() override { return FixedNow(); }
    const arc::Regional& Regional() override { return regional_; }
    int ShowMessage(HWND, const std::wstring&, UINT) override { return IDOK; }
    bool StartHidden(const std::wstring&) override { return false; }
    void ShellOpen(HWND, const std::string&, const std::string&, const std::string&, const std::string&,
                   int) override {}
    std::wstring OpenFileDialog(HWND) override { return L""; }
    std::wstring OpenFileDialogIn(HWND, const std::wstring&, const std::wstring&, const std::wstring&) override {
        return L"";
    }
    void Wait(DWORD) override {}

private:
    arc::Regional regional_ = SystemRegional();
};

// A field's place in twips, its corner at pixels of the screen.
Place AtPixels(int x, int y, int widthTwips, int heightTwips) {
    const TwipsScale screen = TwipsScale::Of(HWND{});
    return {screen.TwipsX(x), screen.TwipsY(y), widthTwips, heightTwips};
}

TEST_F(PickerPersistence, DateFieldShowsWhatTheMainWindowGivesAndRefusesNothingLoudly) {
    EXPECT_EQ(Keys(PickerFieldDesign(1800, 360)), (std::vector<std::wstring>{L"Width", L"Height", L"Font"}));
    FixedHost host;
    auto field = MakePickerDateField(TestTop(), AtPixels(30, 40, 1800, 360), host);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(GetParent(field->Hwnd()), TestTop());
    RECT r{};
    GetWindowRect(field->Hwnd(), &r);
    MapWindowPoints(nullptr, TestTop(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, std::lround(1800 * TwipsScale::Of(HWND{}).dpiX / 1440.0));

    field->SetDateTimeText(L"2024-02-29");
    EXPECT_EQ(field->DateTime(), DateSerial(2024, 2, 29));
    field->SetDateTime(DateSerial(2025, 1, 2) + TimeSerial(10, 0, 0));
    EXPECT_EQ(field->DateTime(), DateSerial(2025, 1, 2));
    EXPECT_NO_THROW(field->SetDateTimeText(L"2025-13-01"));
    EXPECT_NO_THROW(field->SetDateTime(kMaxDateValue + 1));
    EXPECT_EQ(field->DateTime(), DateSerial(2025, 1, 2));
}

TEST_F(PickerPersistence, DateFieldTakesItsTurnInTheTabOrderAndKeepsItsKeys) {
    FixedHost host;
    HWND before = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 100, 80, 20, TestTop(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    auto field = MakePickerDateField(TestTop(), AtPixels(30, 40, 1800, 360), host);
    field->SetDateTimeText(L"2024-03-05");
    HWND picker = GetWindow(field->Hwnd(), GW_CHILD);
    auto press = [&](UINT key) {
        MSG m{GetFocus(), WM_KEYDOWN, key, 0};
        if (!IsDialogMessageW(TestTop(), &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    };
    SetFocus(before);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), picker);
    // Arrows stay with the picker: one picks a part of the date, the next changes it.
    press(VK_RIGHT);
    press(VK_UP);
    EXPECT_EQ(GetFocus(), picker);
    EXPECT_NE(field->DateTime(), DateSerial(2024, 3, 5));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), before);

    // A click on the button drops the calendar down.
    RECT r{};
    GetClientRect(picker, &r);
    SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 5, r.bottom / 2));
    SendMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(r.right - 5, r.bottom / 2));
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(IsWindowVisible(calendar));
    SendMessageW(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
    DestroyWindow(before);
}

}  // namespace
}  // namespace arc
