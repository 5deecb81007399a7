#pragma once
// Readings of a number typed as text, and numbers written for SQL.
#include "Regional.h"

#include <optional>
#include <string>

namespace arc {

// The whole text (blanks around it allowed) is a number in the regional
// format: optional sign, digits with grouping separators, one decimal
// separator, optional exponent.  The empty text is no number.
bool IsNumeric(const std::wstring& text, const Regional& regional);

// The full numeric value under the regional format; nullopt when the text
// is not numeric.
std::optional<double> ParseNumber(const std::wstring& text, const Regional& regional);

// Like ParseNumber but raises RuntimeError 13 ("Type mismatch") on a text
// that is not a number, as the runtime's conversion does.
double CDbl(const std::wstring& text, const Regional& regional);

// The leading-number value: the number at the start of the text read with a
// point as the only decimal separator, blanks skipped; 0 when none.
double Val(const std::wstring& text);

// A number as SQL text: point decimal, no grouping, whole values without a
// point, at most 15 significant digits (150, 12.5, -40).
std::wstring SqlNumber(double value);

// A number as the runtime writes it for the user: like SqlNumber but with
// the regional decimal separator (12,5 in Spain), never grouped.
std::wstring CStr(double value, const Regional& regional);

}  // namespace arc
