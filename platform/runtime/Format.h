#pragma once
// The runtime's Format for the patterns the programs use.
//
// Numbers ("#,##0.##", "#,###.##", "#,###", "0"): a "0" is a digit always
// shown, a "#" an optional one; "," in the whole part asks for grouping every
// three digits, "." for the decimal separator, which is always written when
// the pattern has one; the regional symbols go into the output.
//
// Dates, letters read without regard to case: "yyyy", "yy", "mmmm" (month
// name), "mmm" (abbreviated), "mm"/"m" (month, or minutes right after an
// hour), "dddddd" (the system's long date), "ddddd" (short date), "dddd",
// "ddd", "dd", "d", "hh", "h", "nn", "n", "ss", "s"; anything else is copied.
#include "Regional.h"

#include <string>

namespace arc {

std::wstring FormatNumber(double value, const std::wstring& pattern, const Regional& regional);
std::wstring FormatDate(double value, const std::wstring& pattern, const Regional& regional);

// The system's long date of a date value ("lunes, 7 de diciembre de 2026").
std::wstring LongDate(double value, const Regional& regional);
// The system's short date ("07/12/2026").
std::wstring ShortDate(double value, const Regional& regional);

}  // namespace arc
