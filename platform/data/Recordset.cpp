#include "Recordset.h"

#include "Statement.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>
#include <windows.h>

namespace arc::data {

void Recordset::Open(const std::wstring& sql) {
    if (!ActiveConnection) throw RuntimeError(kErrConnectionClosed);
    Statement st(ActiveConnection->Handle(), ToUtf8(sql));
    std::vector<std::wstring> names;
    const int columns = st.ColumnCount();
    for (int c = 0; c < columns; ++c) names.push_back(FromUtf8(st.ColumnName(c)));
    std::vector<std::vector<Value>> rows;
    while (st.Step()) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (st.ColumnType(c)) {
                case SQLITE_INTEGER: row.push_back(Value::Integer(st.Integer(c))); break;
                case SQLITE_FLOAT: row.push_back(Value::Real(st.Real(c))); break;
                case SQLITE_TEXT: row.push_back(Value::Text(FromUtf8(st.Text(c)))); break;
                case SQLITE_BLOB: row.push_back(Value::Blob(std::string(st.Bytes(c)))); break;
                default: row.push_back(Value()); break;
            }
        }
        rows.push_back(std::move(row));
    }
    names_ = std::move(names);
    rows_ = std::move(rows);
    position_ = 0;
    open_ = true;
}

int Recordset::FieldIndex(const std::wstring& name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (CompareStringOrdinal(names_[i].c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
            return static_cast<int>(i);
    return -1;
}

const Value& Recordset::Field(const std::wstring& name) const {
    int i = FieldIndex(name);
    if (i < 0)
        throw RuntimeError(kErrItemNotFound, ErrorDescription(kErrItemNotFound) + L" (" + name + L")");
    return Field(static_cast<size_t>(i));
}

const Value& Recordset::Field(size_t index) const {
    if (index >= names_.size())
        throw RuntimeError(kErrItemNotFound);
    if (Eof())
        throw RuntimeError(kErrNoCurrentRecord);
    return rows_[position_][index];
}

}  // namespace arc::data
