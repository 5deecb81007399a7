#pragma once
// A date field of the main window (FECHAR, DESDE, HASTA) made of the picker
// control: a container holding one ucDateTime, loaded with the host running
// from the field's design, which keeps only its size and the font Arial 12.
#include "ledger/DateField.h"
#include "platform/runtime/Host.h"
#include "platform/window/Controls.h"
#include "platform/window/Twips.h"

#include <windows.h>

#include <memory>
#include <string>

namespace arc {

// The design of a date field: its size in twips and the font Arial 12.
std::wstring PickerFieldDesign(int widthTwips, int heightTwips);

// A date field at a place in parent, in twips.  Texts
// are read as dates and today is taken with the host's regional settings
// and clock; the host must outlive the field.  nullptr when the window
// cannot be made.  A value the picker would refuse (no date, or outside its
// range) leaves the field as it was; reading a field whose picker shows no
// date raises RuntimeError 13.
std::unique_ptr<DateField> MakePickerDateField(HWND parent, const Place& twips, Host& host);

// The maker of a control table's entry for such a field, kept in `field`.
inline ControlMaker PickerDateFieldMaker(std::unique_ptr<DateField>& field, Host& host) {
    return [&field, &host](HWND parent, const Place& twips, const TwipsScale&) -> HWND {
        field = MakePickerDateField(parent, twips, host);
        return field ? field->Hwnd() : nullptr;
    };
}

}  // namespace arc
