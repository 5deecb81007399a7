#pragma once
// The picker control: one platform date/time picker window ("SysDateTimePick32")
// covering its container's window.  The control keeps every setting that a
// picker window cannot keep across a rebuild (styles, range, calendar
// colours, format, value, check state), paints the picker's background in
// its own colour, keeps its settings with the host's design, and turns the
// picker's notifications and keys into its events Change, KeyDown, KeyPress
// and KeyUp, raised to the host through the container.
//
// Messages reach it through its subclassing engine, whose callback is
// WindowProc, named by ordinal 1: it must stay the last virtual method of
// this class, so the class declares no other virtual method after it and is
// final.
#include "controls/subclass/clsSubClass.h"
#include "platform/container/ControlContainer.h"
#include "platform/container/UserControl.h"
#include "platform/container/Variant.h"
#include "platform/window/Gdi.h"

#include <windows.h>
#include <olectl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace arc {

class ucDateTime final : public UserControl, public SubclassOwner {
public:
    static constexpr const wchar_t* kProgId = L"Arcandora.ucDateTime";
    // The events, numbered in the order the control declares them.
    enum Event { EventChange = 1, EventKeyDown = 2, EventKeyPress = 3, EventKeyUp = 4 };
    // Format values.
    enum { FormatLongDate = 0, FormatShortDate = 1, FormatTime = 2, FormatCustom = 3 };

    // The container must outlive the control.
    explicit ucDateTime(ControlContainer& container);
    ~ucDateTime();  // ends the instance through its container if that has not happened yet
    ucDateTime(const ucDateTime&) = delete;
    ucDateTime& operator=(const ucDateTime&) = delete;

    // The picker's text, at most 254 characters.
    std::wstring GetCaption() const;
    // Parts of the date the picker shows; -1 when it shows none or there is
    // no picker window.
    int16_t Day();
    int16_t Month();
    int16_t Year();
    int16_t Hour();
    int16_t Minute();
    int16_t Second();
    int16_t Milliseconds();
    int16_t DayOfWeek();  // 0 = Sunday
    HWND hwnd() const { return hPicker_; }  // changes at every rebuild

    bool UpDown() const { return upDown_; }
    void SetUpDown(bool Value);
    bool CheckBox() const { return checkBox_; }
    void SetCheckBox(bool Value);
    bool Enabled() const { return container_.Enabled(); }
    void SetEnabled(bool Value);
    const FontDesc& Font() const { return container_.Font(); }
    void SetFont(const FontDesc& objFont);
    int32_t Format() const { return format_; }
    void SetFormat(int32_t NewFormat);
    const std::wstring& CustomFormat() const { return customFormat_; }
    void SetCustomFormat(const std::wstring& NewCustomFormat);
    double MinDate() const { return minDate_; }
    void SetMinDate(double NewMinDate);  // RuntimeError 380 before 1 January 1601
    double MaxDate() const { return maxDate_; }
    void SetMaxDate(double NewMaxDate);  // RuntimeError 380 after 31 December 9999 00:00
    OLE_COLOR TextBackColor() const { return textBackColor_; }
    void SetTextBackColor(OLE_COLOR NewColor);
    OLE_COLOR CalendarBackColor() const { return calendarBackColor_; }
    void SetCalendarBackColor(OLE_COLOR NewColor);
    OLE_COLOR CalendarForeColor() const { return calendarForeColor_; }
    void SetCalendarForeColor(OLE_COLOR NewColor);
    OLE_COLOR CalendarTitleBackColor() const { return calendarTitleBackColor_; }
    void SetCalendarTitleBackColor(OLE_COLOR NewColor);
    OLE_COLOR CalendarTitleForeColor() const { return calendarTitleForeColor_; }
    void SetCalendarTitleForeColor(OLE_COLOR NewColor);
    OLE_COLOR CalendarTrailingForeColor() const { return calendarTrailingForeColor_; }
    void SetCalendarTrailingForeColor(OLE_COLOR NewColor);
    // Asks the picker: true when it shows a date (its check box is ticked).
    bool CheckValue() const;
    void SetCheckValue(bool newValue);
    // "Devuelve o establece la fecha o tiempo actual."  The getter asks the
    // picker: its day (its time of day with Format 2), or "" when it shows
    // none or there is no picker window.  The setter takes a date, a text
    // that reads as a date, or "".
    Variant DateTime() const;
    void SetDateTime(const Variant& NewDateTime);
    // The picker's ideal size in the container's scale mode; 0 without a picker.
    int32_t GetIdealHeight() const;
    int32_t GetIdealWith() const;

private:
    friend struct ucDateTimeProbe;  // lets tests look at the brush

    // Container notifications.
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Resize() override;
    void EnterFocus() override;
    void GotFocus() override;
    void Terminate() override;

    void RebuildPicker();
    int32_t ReadPickerTime();
    int32_t GetPickerTime(SYSTEMTIME& time) const;  // GDT_NONE without a picker window
    void SetCachedTime(const Variant& value);
    bool ApplyCalendarColor(int index, OLE_COLOR color);
    void SetCalendarColor(OLE_COLOR& field, const wchar_t* key, int index, OLE_COLOR NewColor);
    void ApplyRange();
    bool IsDateInRange(const Variant& value) const;
    static int16_t GetShiftState();
    SIZE PickerSize() const;
    int16_t TimePart(WORD SYSTEMTIME::*field);
    void RaiseKeyEvent(int number, const wchar_t* name, std::vector<Variant> args);

    ControlContainer& container_;

    // State, in the order of its declaration.
    std::unique_ptr<clsSubClass> cSubClass;
    HWND hPicker_ = nullptr;
    SYSTEMTIME timeCache_{};
    double minDate_ = 0;
    double maxDate_ = 0;
    bool checkValue_ = false;
    Variant dateTime_;
    bool upDown_ = false;
    bool checkBox_ = false;
    OLE_COLOR textBackColor_ = 0;
    OLE_COLOR calendarBackColor_ = 0;
    OLE_COLOR calendarForeColor_ = 0;
    OLE_COLOR calendarTitleBackColor_ = 0;
    OLE_COLOR calendarTitleForeColor_ = 0;
    OLE_COLOR calendarTrailingForeColor_ = 0;
    std::wstring customFormat_;
    int32_t format_ = 0;
    Brush textBackBrush_;

    // The engine's callback: the picker's keys and background before its own
    // procedure, the container window's WM_NOTIFY after its own.  Last.
    void __stdcall WindowProc(BOOL bBefore, BOOL* bHandled, LRESULT* lReturn, HWND lng_hWnd, UINT uMsg, WPARAM wParam,
                              LPARAM lParam, LONG_PTR* lParamUser) override;
};

}  // namespace arc
