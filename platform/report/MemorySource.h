#pragma once
// Rows kept in memory with named fields: the data source of a report whose
// rows are computed rather than read (a summary), and of tests.
#include "DataSource.h"

#include <windows.h>

#include <string>
#include <vector>

namespace arc::report {

class MemorySource : public DataSource {
public:
    explicit MemorySource(std::vector<std::wstring> names) : names_(std::move(names)) {}
    // A row with one value per field, in the order of the names.
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

}  // namespace arc::report
