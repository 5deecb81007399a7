#include "ucDateTime.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"

#include <commctrl.h>

#include <cmath>
#include <cstring>

namespace arc {
namespace {

// Default colours (system colours) and the calendar parts they paint.
constexpr OLE_COLOR kWindowBackground = 0x80000005;
constexpr OLE_COLOR kButtonText = 0x80000012;
constexpr OLE_COLOR kActiveCaption = 0x80000002;
constexpr OLE_COLOR kCaptionText = 0x80000009;
constexpr OLE_COLOR kGrayText = 0x80000011;

// The picker's notifications, as the values they arrive with.
constexpr UINT kDateTimeChange = static_cast<UINT>(-759);
constexpr UINT kSetFocus = static_cast<UINT>(-7);

// The engine calls WindowProc, the last method of this class.
constexpr int kCallbackOrdinal = 1;

[[noreturn]] void InvalidPropertyValue(const std::wstring& description = ErrorDescription(kErrInvalidPropertyValue)) {
    throw RuntimeError(kErrInvalidPropertyValue, description);
}

bool TranslateColor(OLE_COLOR color, COLORREF& out) {
    return SUCCEEDED(OleTranslateColor(color, nullptr, &out));
}

}  // namespace

ucDateTime::ucDateTime(ControlContainer& container) : container_(container) {}

ucDateTime::~ucDateTime() { container_.Unload(*this); }

// ---- Container notifications ----

void ucDateTime::Initialize() {
    cSubClass = std::make_unique<clsSubClass>();
    InitCommonControls();
}

void ucDateTime::InitProperties() {
    minDate_ = kMinDateValue;
    maxDate_ = kMaxDateValue;
    checkValue_ = true;
    SetTextBackColor(kWindowBackground);
    calendarBackColor_ = kWindowBackground;
    calendarForeColor_ = kButtonText;
    calendarTitleBackColor_ = kActiveCaption;
    calendarTitleForeColor_ = kCaptionText;
    calendarTrailingForeColor_ = kGrayText;
    format_ = FormatShortDate;
    container_.SetFont(container_.Ambient().font);
    RebuildPicker();
}

void ucDateTime::ReadProperties(const PropertyBag& bag) {
    minDate_ = bag.ReadDate(L"MinDate", kMinDateValue);
    maxDate_ = bag.ReadDate(L"MaxDate", kMaxDateValue);
    upDown_ = bag.ReadBoolean(L"UpDown", false);
    checkBox_ = bag.ReadBoolean(L"CheckBox", false);
    checkValue_ = bag.ReadBoolean(L"CheckValue", true);
    container_.SetEnabled(bag.ReadBoolean(L"Enabled", true));
    SetTextBackColor(static_cast<OLE_COLOR>(bag.ReadLong(L"TextBackColor", static_cast<int32_t>(kWindowBackground))));
    calendarBackColor_ = static_cast<OLE_COLOR>(bag.ReadLong(L"BackColor", static_cast<int32_t>(kWindowBackground)));
    calendarForeColor_ = static_cast<OLE_COLOR>(bag.ReadLong(L"ForeColor", static_cast<int32_t>(kButtonText)));
    calendarTitleBackColor_ =
        static_cast<OLE_COLOR>(bag.ReadLong(L"TitleBackColor", static_cast<int32_t>(kActiveCaption)));
    calendarTitleForeColor_ =
        static_cast<OLE_COLOR>(bag.ReadLong(L"TitleForeColor", static_cast<int32_t>(kCaptionText)));
    calendarTrailingForeColor_ =
        static_cast<OLE_COLOR>(bag.ReadLong(L"TrailingForeColor", static_cast<int32_t>(kGrayText)));
    dateTime_ = bag.ReadProperty(L"DateTime", Variant::Text(L""));
    customFormat_ = bag.ReadText(L"CustomFormat", L"");
    format_ = bag.ReadLong(L"Format", FormatShortDate);
    container_.SetFont(bag.ReadFont(L"Font", container_.Ambient().font));
    RebuildPicker();

    // In a running host the container window's notifications come after its
    // own procedure: Change and the focus pass.
    if (container_.Ambient().userMode && cSubClass) {
        HWND own = container_.Hwnd();
        if (cSubClass->ssc_Subclass(own, 0, kCallbackOrdinal, this, true, false))
            cSubClass->ssc_AddMsg(own, WM_NOTIFY, clsSubClass::MSG_AFTER);
    }
}

void ucDateTime::WriteProperties(PropertyBag& bag) {
    bag.WriteDate(L"MinDate", minDate_, kMinDateValue);
    bag.WriteDate(L"MaxDate", maxDate_, kMaxDateValue);
    bag.WriteBoolean(L"UpDown", upDown_, false);
    bag.WriteBoolean(L"CheckBox", checkBox_, false);
    bag.WriteBoolean(L"CheckValue", checkValue_, true);
    bag.WriteBoolean(L"Enabled", container_.Enabled(), true);
    auto colour = [&](const wchar_t* key, OLE_COLOR value, OLE_COLOR def) {
        bag.WriteLong(key, static_cast<int32_t>(value), static_cast<int32_t>(def));
    };
    colour(L"TextBackColor", textBackColor_, kWindowBackground);
    colour(L"BackColor", calendarBackColor_, kWindowBackground);
    colour(L"ForeColor", calendarForeColor_, kButtonText);
    colour(L"TitleBackColor", calendarTitleBackColor_, kActiveCaption);
    colour(L"TitleForeColor", calendarTitleForeColor_, kCaptionText);
    colour(L"TrailingForeColor", calendarTrailingForeColor_, kGrayText);
    bag.WriteProperty(L"DateTime", dateTime_, Variant::Text(L""));
    bag.WriteText(L"CustomFormat", customFormat_, L"");
    bag.WriteLong(L"Format", format_, FormatShortDate);
    bag.WriteFont(L"Font", container_.Font(), container_.Ambient().font);
}

void ucDateTime::Resize() {
    SIZE size = PickerSize();
    SetWindowPos(hPicker_, HWND_TOP, 0, 0, size.cx, size.cy, 0);
}

void ucDateTime::EnterFocus() { SetFocus(hPicker_); }

void ucDateTime::GotFocus() { SetFocus(hPicker_); }

void ucDateTime::Terminate() {
    // The engine goes first: it puts back every procedure it replaced while
    // the windows and this object still exist.
    cSubClass.reset();
    if (hPicker_) {
        DestroyWindow(hPicker_);
        hPicker_ = nullptr;
    }
    textBackBrush_.Reset();
}

// ---- The picker window ----

SIZE ucDateTime::PickerSize() const {
    double widthTwips = container_.ScaleX(container_.ScaleWidth(), container_.ScaleMode(), kScaleTwips);
    double heightTwips = container_.ScaleY(container_.ScaleHeight(), container_.ScaleMode(), kScaleTwips);
    return SIZE{static_cast<LONG>(std::lround(widthTwips / container_.TwipsPerPixelX())),
                static_cast<LONG>(std::lround(heightTwips / container_.TwipsPerPixelY()))};
}

void ucDateTime::RebuildPicker() {
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (checkBox_) style |= DTS_SHOWNONE;
    if (upDown_) style |= DTS_UPDOWN;
    if (!container_.Enabled()) style |= WS_DISABLED;
    if (format_ == FormatLongDate) style |= DTS_LONGDATEFORMAT;
    else if (format_ == FormatTime) style |= DTS_TIMEFORMAT;

    if (hPicker_) DestroyWindow(hPicker_);
    SIZE size = PickerSize();
    hPicker_ = CreateWindowExA(WS_EX_CLIENTEDGE, "SysDateTimePick32", "", style, 0, 0, size.cx, size.cy,
                               container_.Hwnd(), nullptr, container_.Instance(), nullptr);

    if (cSubClass && cSubClass->ssc_Subclass(hPicker_, 0, kCallbackOrdinal, this, true, false)) {
        for (UINT msg : {WM_ERASEBKGND, WM_KEYDOWN, WM_CHAR, WM_KEYUP})
            cSubClass->ssc_AddMsg(hPicker_, msg, clsSubClass::MSG_BEFORE);
    }

    // Calendar colours other than their defaults; the platform keeps its own
    // for the rest.  A colour that cannot be translated is left out.
    if (calendarBackColor_ != kWindowBackground) ApplyCalendarColor(MCSC_MONTHBK, calendarBackColor_);
    if (calendarForeColor_ != kButtonText) ApplyCalendarColor(MCSC_TEXT, calendarForeColor_);
    if (calendarTitleBackColor_ != kActiveCaption) ApplyCalendarColor(MCSC_TITLEBK, calendarTitleBackColor_);
    if (calendarTitleForeColor_ != kCaptionText) ApplyCalendarColor(MCSC_TITLETEXT, calendarTitleForeColor_);
    if (calendarTrailingForeColor_ != kGrayText) ApplyCalendarColor(MCSC_TRAILINGTEXT, calendarTrailingForeColor_);

    if ((!customFormat_.empty() && format_ == FormatCustom) || format_ == FormatTime) {
        std::string ansi = ToAnsi(customFormat_);
        SendMessageA(hPicker_, DTM_SETFORMATA, 0,
                     reinterpret_cast<LPARAM>(customFormat_.empty() ? nullptr : ansi.c_str()));
    }

    ApplyRange();

    // A new picker shows the moment it was made until a stored value in
    // range is applied.
    if (IsDateInRange(dateTime_)) {
        Variant stored = dateTime_;
        SetDateTime(stored);
    }
    if (!checkValue_) SetCheckValue(false);
}

int32_t ucDateTime::ReadPickerTime() { return GetPickerTime(timeCache_); }

int32_t ucDateTime::GetPickerTime(SYSTEMTIME& time) const {
    // Without a picker window (it could not be made, or the control has
    // ended) a message would come back as 0, which reads as GDT_VALID with
    // a zeroed date: there is no date then, never one in year -1.
    if (!hPicker_ || !IsWindow(hPicker_)) return GDT_NONE;
    return static_cast<int32_t>(SendMessageA(hPicker_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)));
}

void ucDateTime::SetCachedTime(const Variant& value) {
    // Date and time of day from the value; the day of the week and the
    // milliseconds keep what the cache held.
    SYSTEMTIME t = ToSystemTime(CDate(value, container_.Ambient().regional));
    t.wDayOfWeek = timeCache_.wDayOfWeek;
    t.wMilliseconds = timeCache_.wMilliseconds;
    timeCache_ = t;
}

bool ucDateTime::ApplyCalendarColor(int index, OLE_COLOR color) {
    COLORREF rgb;
    if (!TranslateColor(color, rgb)) return false;
    SendMessageA(hPicker_, DTM_SETMCCOLOR, static_cast<WPARAM>(index), static_cast<LPARAM>(rgb));
    return true;
}

void ucDateTime::ApplyRange() {
    SYSTEMTIME range[2] = {ToSystemTime(minDate_), ToSystemTime(maxDate_)};
    range[0].wDayOfWeek = range[1].wDayOfWeek = 0;
    SendMessageA(hPicker_, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}

bool ucDateTime::IsDateInRange(const Variant& value) const {
    // The value's day, read from its text form; anything that is no date is
    // out of range rather than an error.
    double day;
    try {
        if (value.Type() == VarType::Date) {
            day = DateOnly(value.Number());
        } else {
            auto parsed = ParseDate(CStr(value, container_.Ambient().regional), container_.Ambient().regional);
            if (!parsed) return false;
            day = DateOnly(*parsed);
        }
    } catch (...) {
        return false;
    }
    return day >= minDate_ && day <= maxDate_;
}

int16_t ucDateTime::GetShiftState() {
    int16_t mask = 0;
    if (GetAsyncKeyState(VK_SHIFT) < 0) mask = 1;
    if (GetAsyncKeyState(VK_MENU) < 0) mask += 4;
    if (GetAsyncKeyState(VK_CONTROL) < 0) mask += 2;
    return mask;
}

// ---- Reading the picker ----

std::wstring ucDateTime::GetCaption() const {
    char buffer[255] = {};
    LRESULT n = SendMessageA(hPicker_, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(buffer));
    return n > 0 ? FromAnsi(std::string_view(buffer, static_cast<size_t>(n))) : std::wstring();
}

int16_t ucDateTime::TimePart(WORD SYSTEMTIME::*field) {
    return ReadPickerTime() == GDT_VALID ? static_cast<int16_t>(timeCache_.*field) : -1;
}

int16_t ucDateTime::Day() { return TimePart(&SYSTEMTIME::wDay); }
int16_t ucDateTime::Month() { return TimePart(&SYSTEMTIME::wMonth); }
int16_t ucDateTime::Year() { return TimePart(&SYSTEMTIME::wYear); }
int16_t ucDateTime::Hour() { return TimePart(&SYSTEMTIME::wHour); }
int16_t ucDateTime::Minute() { return TimePart(&SYSTEMTIME::wMinute); }
int16_t ucDateTime::Second() { return TimePart(&SYSTEMTIME::wSecond); }
int16_t ucDateTime::Milliseconds() { return TimePart(&SYSTEMTIME::wMilliseconds); }
int16_t ucDateTime::DayOfWeek() { return TimePart(&SYSTEMTIME::wDayOfWeek); }

bool ucDateTime::CheckValue() const {
    SYSTEMTIME t{};
    return GetPickerTime(t) == GDT_VALID;
}

Variant ucDateTime::DateTime() const {
    SYSTEMTIME t{};
    if (GetPickerTime(t) != GDT_VALID) return Variant::Text(L"");
    if (format_ == FormatTime) return Variant::Date(TimeSerial(t.wHour, t.wMinute, t.wSecond));
    return Variant::Date(DateSerial(t.wYear, t.wMonth, t.wDay));
}

int32_t ucDateTime::GetIdealHeight() const {
    if (!hPicker_) return 0;
    SIZE size{};
    SendMessageA(hPicker_, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return static_cast<int32_t>(std::lround(container_.ScaleY(size.cy, kScalePixels, container_.ScaleMode())));
}

int32_t ucDateTime::GetIdealWith() const {
    if (!hPicker_) return 0;
    SIZE size{};
    SendMessageA(hPicker_, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return static_cast<int32_t>(std::lround(container_.ScaleX(size.cx, kScalePixels, container_.ScaleMode())));
}

// ---- Stored settings ----

void ucDateTime::SetUpDown(bool Value) {
    upDown_ = Value;
    container_.PropertyChanged(L"UpDown");
    RebuildPicker();
}

void ucDateTime::SetCheckBox(bool Value) {
    checkBox_ = Value;
    container_.PropertyChanged(L"CheckBox");
    RebuildPicker();
}

void ucDateTime::SetFormat(int32_t NewFormat) {
    format_ = NewFormat;
    container_.PropertyChanged(L"Format");
    RebuildPicker();
}

void ucDateTime::SetCustomFormat(const std::wstring& NewCustomFormat) {
    customFormat_ = NewCustomFormat;
    container_.PropertyChanged(L"CustomFormat");
    std::string ansi = ToAnsi(customFormat_);
    SendMessageA(hPicker_, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(customFormat_.empty() ? nullptr : ansi.c_str()));
}

void ucDateTime::SetEnabled(bool Value) {
    container_.SetEnabled(Value);
    EnableWindow(hPicker_, Value);
    container_.PropertyChanged(L"Enabled");
}

void ucDateTime::SetFont(const FontDesc& objFont) {
    container_.SetFont(objFont);
    LRESULT font = SendMessageA(container_.Hwnd(), WM_GETFONT, 0, 0);
    SendMessageA(hPicker_, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    container_.PropertyChanged(L"Font");
}

void ucDateTime::SetMinDate(double NewMinDate) {
    if (!(NewMinDate >= kMinDateValue))
        InvalidPropertyValue(L"La fecha minima deve ser mayor o igual a " +
                             ShortDate(kMinDateValue, container_.Ambient().regional));
    minDate_ = NewMinDate;
    ApplyRange();
    container_.PropertyChanged(L"MinDate");
}

void ucDateTime::SetMaxDate(double NewMaxDate) {
    if (!(NewMaxDate <= kMaxDateValue))
        InvalidPropertyValue(L"La fecha maxima deve ser menor o igual a " +
                             ShortDate(kMaxDateValue, container_.Ambient().regional));
    maxDate_ = NewMaxDate;
    ApplyRange();
    container_.PropertyChanged(L"MaxDate");
}

void ucDateTime::SetTextBackColor(OLE_COLOR NewColor) {
    // A colour the platform cannot translate is refused before anything
    // changes, so the brush always matches the stored colour.
    COLORREF rgb;
    if (!TranslateColor(NewColor, rgb)) InvalidPropertyValue();
    textBackColor_ = NewColor;
    textBackBrush_.Reset(CreateSolidBrush(rgb));
    container_.PropertyChanged(L"TextBackColor");
    if (hPicker_) {
        RECT r;
        GetClientRect(hPicker_, &r);
        InvalidateRect(hPicker_, &r, TRUE);
    }
}

namespace {
void RequireTranslatable(OLE_COLOR color) {
    COLORREF rgb;
    if (!TranslateColor(color, rgb)) InvalidPropertyValue();
}
}  // namespace

// A calendar colour: refused before anything changes when it cannot be
// translated, then stored, marked changed and sent to the picker.
void ucDateTime::SetCalendarColor(OLE_COLOR& field, const wchar_t* key, int index, OLE_COLOR NewColor) {
    RequireTranslatable(NewColor);
    field = NewColor;
    container_.PropertyChanged(key);
    ApplyCalendarColor(index, NewColor);
}

void ucDateTime::SetCalendarBackColor(OLE_COLOR NewColor) { SetCalendarColor(calendarBackColor_, L"BackColor", MCSC_MONTHBK, NewColor); }

void ucDateTime::SetCalendarForeColor(OLE_COLOR NewColor) { SetCalendarColor(calendarForeColor_, L"ForeColor", MCSC_TEXT, NewColor); }

void ucDateTime::SetCalendarTitleBackColor(OLE_COLOR NewColor) { SetCalendarColor(calendarTitleBackColor_, L"TitleBackColor", MCSC_TITLEBK, NewColor); }

void ucDateTime::SetCalendarTitleForeColor(OLE_COLOR NewColor) { SetCalendarColor(calendarTitleForeColor_, L"TitleForeColor", MCSC_TITLETEXT, NewColor); }

void ucDateTime::SetCalendarTrailingForeColor(OLE_COLOR NewColor) { SetCalendarColor(calendarTrailingForeColor_, L"TrailingForeColor", MCSC_TRAILINGTEXT, NewColor); }

void ucDateTime::SetCheckValue(bool newValue) {
    checkValue_ = newValue;
    if (newValue) {
        // The date that goes with a ticked box: the stored value when it is
        // a date, today otherwise.
        bool filled = false;
        if (!IsEmptyText(dateTime_)) {
            try {
                SetCachedTime(dateTime_);
                filled = true;
            } catch (const RuntimeError&) {
            }
        }
        if (!filled) SetCachedTime(Variant::Date(Today(container_.Now())));
    }
    SendMessageA(hPicker_, DTM_SETSYSTEMTIME, newValue ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(&timeCache_));
}

void ucDateTime::SetDateTime(const Variant& NewDateTime) {
    if (IsDateInRange(NewDateTime)) {
        dateTime_ = NewDateTime;
        SetCachedTime(NewDateTime);
    } else if (IsEmptyText(NewDateTime)) {
        // The picker shows today while the stored value stays empty.
        dateTime_ = Variant::Text(L"");
        SetCachedTime(Variant::Date(Today(container_.Now())));
    } else {
        InvalidPropertyValue();
    }
    SendMessageA(hPicker_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&timeCache_));
    container_.PropertyChanged(L"DateTime");
}

// ---- Messages from the engine ----

void ucDateTime::RaiseKeyEvent(int number, const wchar_t* name, std::vector<Variant> args) {
    // The arguments go by reference, but what a handler makes of them is not
    // read back: the key always goes on to the picker.
    container_.RaiseEvent(number, name, args);
}

void __stdcall ucDateTime::WindowProc(BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, HWND lng_hWnd, UINT uMsg,
                                      WPARAM wParam, LPARAM lParam, LONG_PTR* lParamUser) {
    try {
        HWND own = container_.Hwnd();
        if (lng_hWnd != own) {
            // The picker's messages, before its own procedure.
            switch (uMsg) {
                case WM_ERASEBKGND: {
                    RECT r;
                    GetClientRect(lng_hWnd, &r);
                    FillRect(reinterpret_cast<HDC>(wParam), &r, textBackBrush_.Get());
                    *bHandled = TRUE;
                    break;
                }
                case WM_KEYDOWN:
                case WM_KEYUP: {
                    int16_t keyCode = static_cast<int16_t>(wParam & 0x7FFF);
                    bool down = uMsg == WM_KEYDOWN;
                    RaiseKeyEvent(down ? EventKeyDown : EventKeyUp, down ? L"KeyDown" : L"KeyUp",
                                  {Variant::Integer(keyCode), Variant::Integer(GetShiftState())});
                    break;
                }
                case WM_CHAR:
                    RaiseKeyEvent(EventKeyPress, L"KeyPress",
                                  {Variant::Integer(static_cast<int16_t>(wParam & 0x7FFF))});
                    break;
                default:
                    break;
            }
        } else if (uMsg == WM_NOTIFY && lParam) {
            // The container window's notifications, after its own procedure.
            // Only the header is read: it is all that every notification has.
            NMHDR header;
            std::memcpy(&header, reinterpret_cast<const void*>(lParam), sizeof header);
            if (header.code == kDateTimeChange) {
                std::vector<Variant> none;
                container_.RaiseEvent(EventChange, L"Change", none);
            } else if (header.code == kSetFocus) {
                container_.DoEvents();
            }
        }
    } catch (...) {
        // Nothing crosses back into the engine's thunk: what a handler of the
        // host raised goes to the barrier of the host's window.
        Window::ReportUnhandledError(lng_hWnd, CurrentError());
    }
}

}  // namespace arc
