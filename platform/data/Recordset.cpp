#include "Recordset.h"

#include "platform/runtime/Text.h"

#include <sqlite3.h>
#include <windows.h>

namespace arc::data {

void Recordset::Open(const std::wstring& sql) {
    if (!ActiveConnection) throw RuntimeError(kErrConnectionClosed, L"The connection cannot be used to perform this operation.");
    sqlite3* db = ActiveConnection->Handle();
    std::string text = ToUtf8(sql);
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, text.c_str(), -1, &st, nullptr);
    if (rc != SQLITE_OK || !st) {
        sqlite3_finalize(st);
        ActiveConnection->Raise(rc == SQLITE_OK ? SQLITE_MISUSE : rc);
    }
    std::vector<std::wstring> names;
    int columns = sqlite3_column_count(st);
    for (int c = 0; c < columns; ++c) {
        const char* n = sqlite3_column_name(st, c);
        names.push_back(FromUtf8(n ? n : ""));
    }
    std::vector<std::vector<Value>> rows;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER: row.push_back(Value::Integer(sqlite3_column_int64(st, c))); break;
                case SQLITE_FLOAT: row.push_back(Value::Real(sqlite3_column_double(st, c))); break;
                case SQLITE_TEXT:
                    row.push_back(Value::Text(FromUtf8(std::string_view(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                        static_cast<size_t>(sqlite3_column_bytes(st, c))))));
                    break;
                case SQLITE_BLOB: {
                    const void* p = sqlite3_column_blob(st, c);
                    row.push_back(Value::Blob(std::string(static_cast<const char*>(p),
                                                          static_cast<size_t>(sqlite3_column_bytes(st, c)))));
                    break;
                }
                default: row.push_back(Value()); break;
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) ActiveConnection->Raise(rc);
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
        throw RuntimeError(kErrItemNotFound, L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
    return Field(static_cast<size_t>(i));
}

const Value& Recordset::Field(size_t index) const {
    if (index >= names_.size())
        throw RuntimeError(kErrItemNotFound, L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
    if (Eof())
        throw RuntimeError(kErrNoCurrentRecord, L"Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    return rows_[position_][index];
}

}  // namespace arc::data
