#include "ValueFormat.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"

#include <cmath>
#include <cstdio>

namespace arc::report {
namespace {

// A number without a pattern: whole values without decimals, others with up
// to 15 significant digits and the regional decimal separator.

}  // namespace

bool IsNumberPattern(const std::wstring& format) {
    return format.find_first_of(L"#0") != std::wstring::npos;
}

std::wstring FormatValue(const data::Value& value, const std::wstring& format, const Regional& regional) {
    if (value.IsNull()) return L"";
    if (format.empty())
        return value.IsNumber() ? CStr(value.AsDouble(), regional) : value.AsText();
    if (IsNumberPattern(format)) {
        if (value.IsNumber()) return FormatNumber(value.AsDouble(), format, regional);
        std::wstring text = value.AsText();
        if (auto n = ParseNumber(text, regional)) return FormatNumber(*n, format, regional);
        return text;
    }
    if (value.IsNumber()) {
        double d = value.AsDouble();
        if (d >= kMinDateValue && d <= kMaxDateValue + 1) return FormatDate(d, format, regional);
        return CStr(d, regional);
    }
    std::wstring text = value.AsText();
    if (auto d = ParseDate(text, regional)) return FormatDate(*d, format, regional);
    return text;
}

}  // namespace arc::report
