// The picker's value, range and check state, with real picker windows in the
// Spanish locale (error texts carry its short date).
#include "PickerTestSupport.h"
#include "platform/runtime/Format.h"

#include <cstring>

namespace arc {
namespace {

class PickerValue : public ::testing::Test {
protected:
    PickerValue() : hosted(TestTop()) { hosted.InitNew(); }
    ucDateTime& p() { return hosted.picker; }
    const Regional& es = hosted.container.Ambient().regional;
    HostedPicker hosted;
};

TEST_F(PickerValue, RangeLimitsAreAcceptedOrRefusedWithTheirTexts) {
    p().SetMinDate(DateSerial(2000, 1, 1));
    p().SetMaxDate(DateSerial(2030, 1, 1));
    p().SetMinDate(kMinDateValue);  // 01/01/1601 00:00
    p().SetMaxDate(kMaxDateValue);  // 31/12/9999 00:00
    EXPECT_EQ(p().MinDate(), kMinDateValue);
    EXPECT_EQ(p().MaxDate(), kMaxDateValue);

    p().SetMinDate(DateSerial(2000, 1, 1));
    p().SetMaxDate(DateSerial(2030, 1, 1));
    RuntimeError late = Raised([&] { p().SetMaxDate(kMaxDateValue + 0.5); });  // 31/12/9999 12:00
    EXPECT_EQ(late.Number(), 380);
    EXPECT_EQ(late.Description(), L"La fecha maxima deve ser menor o igual a " + ShortDate(kMaxDateValue, es));
    RuntimeError early = Raised([&] { p().SetMinDate(DateSerial(1600, 12, 31)); });
    EXPECT_EQ(early.Number(), 380);
    EXPECT_EQ(early.Description(), L"La fecha minima deve ser mayor o igual a " + ShortDate(kMinDateValue, es));
    EXPECT_EQ(p().MinDate(), DateSerial(2000, 1, 1));
    EXPECT_EQ(p().MaxDate(), DateSerial(2030, 1, 1));

    // The picker kept the old range too.
    SYSTEMTIME range[2] = {};
    EXPECT_EQ(SendMessageW(p().hwnd(), DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(range[0].wYear, 2000);
    EXPECT_EQ(range[1].wYear, 2030);
}

TEST_F(PickerValue, MinDateAfterMaxDateIsNotCheckedButLeavesNoDateInRange) {
    p().SetMaxDate(DateSerial(2024, 1, 1));
    EXPECT_NO_THROW(p().SetMinDate(DateSerial(2024, 6, 1)));
    EXPECT_EQ(p().MinDate(), DateSerial(2024, 6, 1));
    EXPECT_EQ(Raised([&] { p().SetDateTime(Variant::Date(DateSerial(2024, 3, 1))); }).Number(), 380);
}

TEST_F(PickerValue, DateTimeTakesDatesAndTextsInRangeAndRefusesTheRest) {
    p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5) + TimeSerial(14, 30, 15)));
    EXPECT_EQ(p().DateTime(), Variant::Date(DateSerial(2024, 3, 5)));  // the day only
    EXPECT_EQ(p().Hour(), 14);                                          // the time still reached the picker
    EXPECT_EQ(p().Minute(), 30);
    EXPECT_EQ(p().DayOfWeek(), 2);  // a Tuesday

    p().SetDateTime(Variant::Text(L"2024-02-29"));
    EXPECT_EQ(p().DateTime(), Variant::Date(DateSerial(2024, 2, 29)));
    p().SetDateTime(Variant::Text(L"05/03/2024"));  // the Spanish short date: 5 March
    EXPECT_EQ(p().Month(), 3);
    EXPECT_EQ(p().Day(), 5);

    hosted.container.ClearChangedKeys();
    for (const Variant& bad : {Variant::Text(L"hola"), Variant::Text(L"2024-02-30"), Variant::Null(),
                               Variant::Date(DateSerial(1500, 1, 1))}) {
        RuntimeError e = Raised([&] { p().SetDateTime(bad); });
        EXPECT_EQ(e.Number(), 380);
        EXPECT_EQ(e.Description(), L"El valor de la propiedad no es válido");
    }
    EXPECT_EQ(p().DateTime(), Variant::Date(DateSerial(2024, 3, 5)));
    EXPECT_TRUE(hosted.container.ChangedKeys().empty());
    EXPECT_NE(hosted.SaveText().find(L"DateTime=text:\"05/03/2024\""), std::wstring::npos);
}

TEST_F(PickerValue, RangeTestUsesTheDayAgainstLimitsThatKeepTheirTime) {
    p().SetMinDate(DateSerial(2024, 3, 5) + TimeSerial(12, 0, 0));
    p().SetMaxDate(DateSerial(2024, 3, 9) + TimeSerial(12, 0, 0));
    EXPECT_EQ(Raised([&] { p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5) + TimeSerial(18, 0, 0))); }).Number(),
              380);
    EXPECT_NO_THROW(p().SetDateTime(Variant::Date(DateSerial(2024, 3, 9) + TimeSerial(18, 0, 0))));
}

TEST_F(PickerValue, EmptyDateTimeShowsTodayAndIsSavedEmpty) {
    p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    p().SetDateTime(Variant::Text(L""));
    EXPECT_EQ(p().DateTime(), Variant::Date(FixedToday()));
    p().SetDateTime(Variant());
    EXPECT_EQ(p().DateTime(), Variant::Date(FixedToday()));
    EXPECT_EQ(hosted.SaveText().find(L"DateTime"), std::wstring::npos);
}

TEST_F(PickerValue, TimeFormatReadsOnlyTheTimeOtherFormatsOnlyTheDay) {
    double moment = DateSerial(2024, 3, 5) + TimeSerial(14, 30, 15);
    p().SetDateTime(Variant::Date(moment));
    p().SetFormat(ucDateTime::FormatTime);
    EXPECT_EQ(p().DateTime(), Variant::Date(TimeSerial(14, 30, 15)));
    p().SetCustomFormat(L"dd/MM/yyyy HH:mm");
    p().SetFormat(ucDateTime::FormatCustom);
    EXPECT_EQ(p().GetCaption(), L"05/03/2024 14:30");
    EXPECT_EQ(p().DateTime(), Variant::Date(DateSerial(2024, 3, 5)));
}

TEST_F(PickerValue, ClearedCheckBoxReadsEmptyFalseAndMinusOne) {
    p().SetCheckBox(true);
    p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    p().SetCheckValue(false);
    EXPECT_EQ(p().DateTime(), Variant::Text(L""));
    EXPECT_FALSE(p().CheckValue());
    for (int16_t part : {p().Day(), p().Month(), p().Year(), p().Hour(), p().Minute(), p().Second(),
                         p().Milliseconds(), p().DayOfWeek()})
        EXPECT_EQ(part, -1);

    // Ticked again, the box comes with the stored date; with none stored, today.
    p().SetCheckValue(true);
    EXPECT_EQ(p().DateTime(), Variant::Date(DateSerial(2024, 3, 5)));
    p().SetDateTime(Variant::Text(L""));
    p().SetCheckValue(false);
    p().SetCheckValue(true);
    EXPECT_EQ(p().DateTime(), Variant::Date(FixedToday()));
}

TEST_F(PickerValue, WithoutAPickerWindowNothingReadsAsADate) {
    // A picker window gone from under the control stands for one whose
    // creation failed; after the control's end there is none at all.
    auto expectNoDate = [&] {
        EXPECT_EQ(p().DateTime(), Variant::Text(L""));
        EXPECT_FALSE(p().CheckValue());
        for (int16_t part : {p().Day(), p().Month(), p().Year(), p().DayOfWeek()}) EXPECT_EQ(part, -1);
    };
    p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    DestroyWindow(p().hwnd());
    expectNoDate();
    hosted.container.Unload();
    expectNoDate();
}

TEST_F(PickerValue, CheckValueFalseWithoutCheckBoxChangesNothing) {
    p().SetCheckValue(false);
    EXPECT_TRUE(p().CheckValue());
    EXPECT_NE(p().DateTime(), Variant::Text(L""));
}

TEST_F(PickerValue, CustomFormatShowsAtOnceAndARebuildKeepsItOnlyForTimeOrCustom) {
    p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    const std::wstring shortDate = ShortDate(DateSerial(2024, 3, 5), es);
    EXPECT_EQ(p().GetCaption(), shortDate);
    p().SetCustomFormat(L"'Dia' dd");
    EXPECT_EQ(p().GetCaption(), L"Dia 05");  // even with the short date format
    p().SetUpDown(true);
    EXPECT_EQ(p().GetCaption(), shortDate);
    p().SetFormat(ucDateTime::FormatCustom);
    EXPECT_EQ(p().GetCaption(), L"Dia 05");
    p().SetFormat(ucDateTime::FormatTime);
    EXPECT_EQ(p().GetCaption(), L"Dia 05");
    p().SetFormat(ucDateTime::FormatLongDate);
    EXPECT_NE(p().GetCaption(), L"Dia 05");
}

WNDPROC pickerProcedure = nullptr;
WPARAM askedFor = 0;

// Stands for a picker whose text is longer than any buffer: fills what it is given.
LRESULT CALLBACK LongTextPicker(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_GETTEXT) return CallWindowProcA(pickerProcedure, hwnd, msg, wParam, lParam);
    askedFor = wParam;
    char* buffer = reinterpret_cast<char*>(lParam);
    std::memset(buffer, 'x', wParam - 1);
    buffer[wParam - 1] = 0;
    return static_cast<LRESULT>(wParam - 1);
}

TEST_F(PickerValue, CaptionIsThePickersTextOfAtMost254Characters) {
    p().SetDateTime(Variant::Date(DateSerial(2024, 3, 5)));
    std::wstring format, shown;
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        format += L"'" + std::wstring(70, letter) + L"'dd";
        shown += std::wstring(70, letter) + L"05";
    }
    p().SetCustomFormat(format);
    EXPECT_EQ(p().GetCaption(), shown);

    pickerProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(p().hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LongTextPicker)));
    std::wstring caption = p().GetCaption();
    SetWindowLongPtrA(p().hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pickerProcedure));
    EXPECT_EQ(askedFor, 255u);
    EXPECT_EQ(caption, std::wstring(254, L'x'));
}

TEST_F(PickerValue, FontReachesThePickerAtOnceAndARebuildDropsIt) {
    p().SetFont(FontDesc{L"Arial", 12, false, false});
    HFONT own = reinterpret_cast<HFONT>(SendMessageW(hosted.container.Hwnd(), WM_GETFONT, 0, 0));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(p().hwnd(), WM_GETFONT, 0, 0)), own);
    p().SetCheckBox(true);
    EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(p().hwnd(), WM_GETFONT, 0, 0)), own);
    EXPECT_EQ(p().Font().face, L"Arial");
}

TEST_F(PickerValue, IdealSizeIsInTheContainersScaleMode) {
    SIZE ideal{};
    SendMessageW(p().hwnd(), DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    ASSERT_GT(ideal.cy, 0);
    EXPECT_EQ(p().GetIdealHeight(), std::lround(ideal.cy * hosted.container.TwipsPerPixelY()));
    EXPECT_EQ(p().GetIdealWith(), std::lround(ideal.cx * hosted.container.TwipsPerPixelX()));
    hosted.container.SetScaleMode(kScalePixels);
    EXPECT_EQ(p().GetIdealHeight(), ideal.cy);
    hosted.container.Unload();
    EXPECT_EQ(p().GetIdealHeight(), 0);
    EXPECT_EQ(p().GetIdealWith(), 0);
}

}  // namespace
}  // namespace arc
