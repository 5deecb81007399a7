#pragma once
// One field value as a record set holds it: NULL, an integer, a real, a text
// or a blob.  NULL is its own type, never confused with 0 or "".
#include <cstdint>
#include <string>

namespace arc::data {

class Value {
public:
    enum class Type { Null, Integer, Real, Text, Blob };

    Value() = default;
    static Value Integer(std::int64_t v) { Value x; x.type_ = Type::Integer; x.i_ = v; return x; }
    static Value Real(double v) { Value x; x.type_ = Type::Real; x.d_ = v; return x; }
    static Value Text(std::wstring v) { Value x; x.type_ = Type::Text; x.text_ = std::move(v); return x; }
    static Value Blob(std::string bytes) { Value x; x.type_ = Type::Blob; x.blob_ = std::move(bytes); return x; }

    Type GetType() const { return type_; }
    bool IsNull() const { return type_ == Type::Null; }
    bool IsNumber() const { return type_ == Type::Integer || type_ == Type::Real; }

    // The value as a number: integers and reals as they are, a text read as
    // SQLite would (leading number), NULL and blobs as 0.
    double AsDouble() const;
    std::int64_t AsInteger() const;
    // The value as text: numbers in SQLite's own text form (150.0, 12.5, 42), NULL as "".
    std::wstring AsText() const;

private:
    Type type_ = Type::Null;
    std::int64_t i_ = 0;
    double d_ = 0;
    std::wstring text_;
    std::string blob_;
};

}  // namespace arc::data
