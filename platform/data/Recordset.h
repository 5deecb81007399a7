#pragma once
// A client-side record set: opened with a statement on its active
// connection, it reads the whole result at once and then offers the rows
// with a current position and fields by name (case-insensitive) or by
// position.  It keeps its connection alive while it lives.
#include "Connection.h"
#include "Value.h"

#include <memory>
#include <string>
#include <vector>

namespace arc::data {

// The record-set property values the ledger gives every reading record set.
constexpr int adUseClient = 3;
constexpr int adLockOptimistic = 3;
constexpr int adOpenDynamic = 2;

class Recordset {
public:
    int CursorLocation = 0;
    std::shared_ptr<Connection> ActiveConnection;
    int LockType = 0;
    int CursorType = 0;

    // Runs the statement and reads every row; raises RuntimeError when there
    // is no connection or the statement fails.  The position is the first row.
    void Open(const std::wstring& sql);

    bool IsOpen() const { return open_; }
    size_t RecordCount() const { return rows_.size(); }
    size_t FieldCount() const { return names_.size(); }
    const std::wstring& FieldName(size_t index) const { return names_.at(index); }
    // Position of a field by name, or -1.
    int FieldIndex(const std::wstring& name) const;

    // Current position: 0..RecordCount()-1, or RecordCount() past the end.
    size_t Position() const { return position_; }
    bool Eof() const { return position_ >= rows_.size(); }
    void MoveFirst() { position_ = 0; }
    void MoveNext() { if (position_ < rows_.size()) ++position_; }
    void Move(size_t row) { position_ = row < rows_.size() ? row : rows_.size(); }

    // Field of the current row, by name or position; raises RuntimeError
    // (3265, "Item cannot be found...") for an unknown name and (3021, "Either
    // BOF or EOF is True...") when there is no current row.
    const Value& Field(const std::wstring& name) const;
    const Value& Field(size_t index) const;
    // Any row, any field, without moving.
    const Value& At(size_t row, size_t field) const { return rows_.at(row).at(field); }

private:
    bool open_ = false;
    std::vector<std::wstring> names_;
    std::vector<std::vector<Value>> rows_;
    size_t position_ = 0;
};

}  // namespace arc::data
