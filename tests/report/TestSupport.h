#pragma once
// Fakes the report tests share: a date field holding a value and a data
// source of rows in memory. The host and temporary folders come from
// tests/support.
#include "ledger/DateField.h"
#include "platform/report/DataSource.h"
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
class TableSource : public report::DataSource {
public:
    explicit TableSource(std::vector<std::wstring> names) : names_(std::move(names)) {}
    void Add(std::vector<data::Value> row) { rows_.push_back(std::move(row)); }
    size_t RowCount() const override { return rows_.size(); }
    int FieldIndex(const std::wstring& name) const override {
        for (size_t i = 0; i < names_.size(); ++i)
            if (_wcsicmp(names_[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
        return -1;
    }
    const data::Value& Value(size_t row, int field) const override { return rows_.at(row).at(field); }

private:
    std::vector<std::wstring> names_;
    std::vector<std::vector<data::Value>> rows_;
};

}  // namespace arc::test
