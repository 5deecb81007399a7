#pragma once
// Real picker controls in a real window for the picker's tests: a visible
// top-level window, a container in it, a ucDateTime loaded into it, and the
// events the control raised.
#include "controls/datetime/ucDateTime.h"
#include "platform/container/ControlContainer.h"
#include "platform/container/PropertyBag.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "support/RaisedError.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace arc {

struct ucDateTimeProbe {
    static HBRUSH Brush(const ucDateTime& picker) { return picker.textBackBrush_.Get(); }
};

struct RaisedEvent {
    int number;
    std::wstring name;
    std::vector<Variant> args;
};

// The clock the tests' containers give their controls: 20 May 2031, 09:15.
SYSTEMTIME FixedNow();
double FixedToday();

// One visible top-level window for the whole run: each one made and
// destroyed costs Wine seconds without a window manager.
HWND TestTop();

// A child window of the test window, to stand for a host window that goes.
class HostWindow {
public:
    HostWindow();
    ~HostWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

struct HostedPicker {
    explicit HostedPicker(HWND parent, bool userMode = true);
    void InitNew() { container.InitNew(picker); }
    void Load(const std::wstring& design);
    std::wstring SaveText() { return container.Save().ToText(); }
    int Count(int eventNumber) const;

    ControlContainer container;
    ucDateTime picker;
    std::vector<RaisedEvent> events;
};

// The day and time the picker window itself holds, read directly.
double PickerValue(HWND picker);
// Sets the picker window's value as a user's pick would.
void UserPicks(HWND picker, double value);

using test::Raised;

}  // namespace arc
