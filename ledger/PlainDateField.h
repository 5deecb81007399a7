#pragma once
// A date field made of a bare date/time picker window: the stand-in used
// until the picker control takes its place.  It meets the DateField contract
// and nothing more.
#include "DateField.h"

#include "platform/runtime/Regional.h"
#include "platform/window/Gdi.h"

namespace arc {

class PlainDateField : public DateField {
public:
    PlainDateField(HWND parent, int id, const RECT& pixels, const Regional& regional);
    ~PlainDateField() override;

    void SetDateTime(double date) override;
    void SetDateTimeText(const std::wstring& text) override;
    double DateTime() const override;
    HWND Hwnd() const override { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
    Font font_;
    Regional regional_;
};

}  // namespace arc
