#pragma once
// Fakes the report tests share: a date field holding a value, and the
// runtime's data source of rows in memory.  The host and temporary folders
// come from tests/support.
#include "ledger/DateField.h"
#include "platform/report/MemorySource.h"
#include "support/TempFolder.h"
#include "support/TestHost.h"

#include <windows.h>

#include <string>
#include <vector>

namespace arc::test {

class FixedDateField : public DateField {
public:
    explicit FixedDateField(double value) : value_(value) {}
    void SetDateTime(double date) override { value_ = date; }
    bool SetDateTimeText(const std::wstring&) override { return false; }
    double DateTime() const override { return value_; }
    HWND Hwnd() const override { return nullptr; }

private:
    double value_;
};

// Rows in memory with named fields.
using TableSource = report::MemorySource;

}  // namespace arc::test
