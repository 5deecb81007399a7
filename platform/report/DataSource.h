#pragma once
// What a report reads: rows of named fields.  The report never moves a
// cursor; it asks for any row's field by position.
#include "platform/data/Recordset.h"
#include "platform/data/Value.h"

#include <memory>
#include <string>

namespace arc::report {

class DataSource {
public:
    virtual ~DataSource() = default;
    virtual size_t RowCount() const = 0;
    // Position of a field by name (case-insensitive), or -1.
    virtual int FieldIndex(const std::wstring& name) const = 0;
    virtual const data::Value& Value(size_t row, int field) const = 0;
};

// A record set seen as a report's data source; it keeps the record set alive.
class RecordsetSource : public DataSource {
public:
    explicit RecordsetSource(std::shared_ptr<const data::Recordset> recordset) : rs_(std::move(recordset)) {}
    size_t RowCount() const override { return rs_ ? rs_->RecordCount() : 0; }
    int FieldIndex(const std::wstring& name) const override { return rs_ ? rs_->FieldIndex(name) : -1; }
    const data::Value& Value(size_t row, int field) const override {
        return rs_->At(row, static_cast<size_t>(field));
    }
    const std::shared_ptr<const data::Recordset>& Recordset() const { return rs_; }

private:
    std::shared_ptr<const data::Recordset> rs_;
};

}  // namespace arc::report
