#include "Variant.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cwctype>

namespace arc {
namespace {

[[noreturn]] void TypeMismatch() { throw RuntimeError(kErrTypeMismatch); }

void RefuseNull(const Variant& v) {
    if (v.IsNull()) throw RuntimeError(kErrInvalidUseOfNull);
}

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring TimeText(double value, const Regional& regional) {
    SYSTEMTIME st = ToSystemTime(value);
    wchar_t buf[128] = {};
    const wchar_t* locale = regional.localeName.empty() ? LOCALE_NAME_USER_DEFAULT : regional.localeName.c_str();
    int n = GetTimeFormatEx(locale, 0, &st, nullptr, buf, 128);
    return n > 0 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}

// A date as the runtime writes it: the short date, the time when there is
// one, the time alone for a value on day 0.
std::wstring DateText(double value, const Regional& regional) {
    double day = DateOnly(value);
    bool hasTime = value != day;
    if (day == 0 && hasTime) return TimeText(value, regional);
    std::wstring text = ShortDate(value, regional);
    if (hasTime) text += L" " + TimeText(value, regional);
    return text;
}


}  // namespace

Variant Variant::Null() { return Variant(VarType::Null, 0, {}); }
Variant Variant::Integer(int16_t value) { return Variant(VarType::Integer, value, {}); }
Variant Variant::Long(int32_t value) { return Variant(VarType::Long, value, {}); }
Variant Variant::Boolean(bool value) { return Variant(VarType::Boolean, value ? -1 : 0, {}); }
Variant Variant::Double(double value) { return Variant(VarType::Double, value, {}); }
Variant Variant::Date(double value) { return Variant(VarType::Date, value, {}); }
Variant Variant::Text(std::wstring value) { return Variant(VarType::Text, 0, std::move(value)); }

bool Variant::IsNumeric() const {
    return type_ == VarType::Integer || type_ == VarType::Long || type_ == VarType::Boolean ||
           type_ == VarType::Double || type_ == VarType::Date;
}

bool IsEmptyText(const Variant& v) { return v.IsEmpty() || (v.IsText() && v.TextValue().empty()); }

bool SameValue(const Variant& a, const Variant& b) {
    if (a.IsNull() || b.IsNull()) return false;
    if (a.IsEmpty() && b.IsEmpty()) return true;
    if (a.IsEmpty() || b.IsEmpty()) {
        const Variant& other = a.IsEmpty() ? b : a;
        return other.IsText() ? other.TextValue().empty() : other.Number() == 0;
    }
    if (a.IsText() && b.IsText()) return a.TextValue() == b.TextValue();
    if (a.IsNumeric() && b.IsNumeric()) return a.Number() == b.Number();
    return false;
}

std::wstring CStr(const Variant& v, const Regional& regional) {
    RefuseNull(v);
    switch (v.Type()) {
        case VarType::Empty: return L"";
        case VarType::Text: return v.TextValue();
        case VarType::Boolean: return v.Number() != 0 ? L"True" : L"False";
        case VarType::Date: return DateText(v.Number(), regional);
        default: return CStr(v.Number(), regional);
    }
}

double CDate(const Variant& v, const Regional& regional) {
    RefuseNull(v);
    if (v.IsText()) {
        if (auto d = ParseDate(v.TextValue(), regional)) return *d;
        TypeMismatch();
    }
    return v.Number();  // empty is day 0; numbers count days
}

bool CBool(const Variant& v, const Regional& regional) {
    RefuseNull(v);
    if (!v.IsText()) return v.Number() != 0;
    std::wstring t = Lower(v.TextValue());
    if (t == L"true" || t == L"verdadero") return true;
    if (t == L"false" || t == L"falso") return false;
    if (auto n = ParseNumber(v.TextValue(), regional)) return *n != 0;
    TypeMismatch();
}

int32_t CLng(const Variant& v, const Regional& regional) {
    RefuseNull(v);
    double n = v.Number();
    if (v.IsText()) {
        auto parsed = ParseNumber(v.TextValue(), regional);
        if (!parsed) TypeMismatch();
        n = *parsed;
    }
    double r = std::nearbyint(n);  // the default rounding mode: half to even
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeError(kErrOverflow);
    return static_cast<int32_t>(r);
}

}  // namespace arc
