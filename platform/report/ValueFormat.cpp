#include "ValueFormat.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/NumberText.h"

#include <cmath>
#include <cstdio>

namespace arc::report {
namespace {

// A number in a pattern as the report prints it: a decimal separator that no
// digit follows is left out, so 150 prints "150" and 0 under "#,###.##"
// prints nothing, where the runtime's Format gives "150," and ",".
std::wstring ReportNumber(double value, const std::wstring& format, const Regional& regional) {
    std::wstring text = FormatNumber(value, format, regional);
    const std::wstring& dec = regional.decimal;
    if (!dec.empty() && text.size() >= dec.size() && text.compare(text.size() - dec.size(), dec.size(), dec) == 0)
        text.resize(text.size() - dec.size());
    return text;
}

}  // namespace

bool IsNumberPattern(const std::wstring& format) {
    return format.find_first_of(L"#0") != std::wstring::npos;
}

std::wstring FormatValue(const data::Value& value, const std::wstring& format, const Regional& regional) {
    if (value.IsNull()) return L"";
    if (format.empty())
        return value.IsNumber() ? CStr(value.AsDouble(), regional) : value.AsText();
    if (IsNumberPattern(format)) {
        if (value.IsNumber()) return ReportNumber(value.AsDouble(), format, regional);
        std::wstring text = value.AsText();
        if (auto n = ParseNumber(text, regional)) return ReportNumber(*n, format, regional);
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
