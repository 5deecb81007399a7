#pragma once
// A value of the language runtime's variant type: empty, null, a 16-bit or
// 32-bit integer, a boolean, a double, a date or a text.  A control takes
// one where a property accepts more than one kind of value (a date or a
// text), and the property bag keeps its settings as such values.
#include "platform/runtime/Regional.h"

#include <cstdint>
#include <string>

namespace arc {

enum class VarType { Empty, Null, Integer, Long, Boolean, Double, Date, Text };

class Variant {
public:
    Variant() = default;  // empty
    static Variant Null();
    static Variant Integer(int16_t value);
    static Variant Long(int32_t value);
    static Variant Boolean(bool value);
    static Variant Double(double value);
    static Variant Date(double value);
    static Variant Text(std::wstring value);

    VarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsText() const { return type_ == VarType::Text; }
    // Integer, Long, Boolean (true = -1), Double or Date.
    bool IsNumeric() const;

    // The number held by a numeric variant; 0 for the others.
    double Number() const { return number_; }
    // The text held by a text variant; empty for the others.
    const std::wstring& TextValue() const { return text_; }

    // Same kind and same value.
    friend bool operator==(const Variant& a, const Variant& b) {
        return a.type_ == b.type_ && a.number_ == b.number_ && a.text_ == b.text_;
    }

private:
    Variant(VarType type, double number, std::wstring text)
        : type_(type), number_(number), text_(std::move(text)) {}
    VarType type_ = VarType::Empty;
    double number_ = 0;
    std::wstring text_;
};

// Empty, or the empty text: what the runtime compares equal to "".
bool IsEmptyText(const Variant& v);

// Whether a value equals a default in the runtime's comparison: empty
// equals "" and 0, numbers (booleans and dates included) compare by value,
// texts exactly; null equals nothing.
bool SameValue(const Variant& a, const Variant& b);

// The runtime's conversions.  Each raises RuntimeError 13 ("Type mismatch")
// for a value of the wrong kind and 94 ("Invalid use of Null") for null.
std::wstring CStr(const Variant& v, const Regional& regional);
double CDate(const Variant& v, const Regional& regional);  // texts through ParseDate
bool CBool(const Variant& v, const Regional& regional);
int32_t CLng(const Variant& v, const Regional& regional);  // half to even; 6 "Overflow" outside 32 bits

}  // namespace arc
