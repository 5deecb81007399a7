#pragma once
// What the main window relies on in a date field (FECHAR, DESDE, HASTA): one
// DateTime property.  Setting it to a date value, or to a "YYYY-MM-DD" text,
// makes the field show that day; reading it gives the day shown, without a
// time of day, and raises RuntimeError when the field shows no date (its
// picker window is missing), so that no statement is ever built from it.
// The picker control meets this contract.
#include <windows.h>

#include <memory>
#include <string>

namespace arc {

class DateField {
public:
    virtual ~DateField() = default;
    virtual void SetDateTime(double date) = 0;                  // a date value
    // "YYYY-MM-DD"; false (the field unchanged) when the text is no date
    // the field can show.
    virtual bool SetDateTimeText(const std::wstring& text) = 0;
    virtual double DateTime() const = 0;                         // the day shown, no time of day
    virtual HWND Hwnd() const = 0;                               // the field's outer window
};

}  // namespace arc
