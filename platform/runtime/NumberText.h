#pragma once
// Readings of a number typed as text, and numbers written for SQL.
#include "Regional.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace arc {

// The numeric test, as the amount boxes use it while the user types: the
// whole text (blanks around it allowed) is a number in the regional format,
// or the start of one, so that no box empties on the way to a number: an
// optional sign, digits with grouping symbols, one decimal separator, an
// optional exponent ("-", "1.", ",5" and "12.345.6" in Spain all pass).
// The empty text is no number.
bool IsNumeric(const std::wstring& text, const Regional& regional);

// How the full value of a text reads.  Grouping symbols are read strictly,
// so that a point typed for a decimal never multiplies an amount:
//  - where the text has no decimal separator and exactly one grouping
//    symbol followed by one, two or more than three digits, that symbol is
//    the decimal point (in Spain "12.50" is 12.5 and "0.75" is 0.75; in the
//    United States "12,50" is 12.5);
//  - otherwise grouping must be well formed: a first group of one to three
//    digits not starting with 0, then groups of exactly three ("1.000",
//    "12.345.678", "1.000,50"); anything else ("1.000.5", "12.34.567",
//    "12.") is BadGrouping and gives no value.
struct NumberReading {
    enum class Kind { Number, NotNumber, BadGrouping };
    Kind kind = Kind::NotNumber;
    double value = 0;  // meaningful for Number only
};
NumberReading ReadNumber(const std::wstring& text, const Regional& regional);

// The full numeric value of ReadNumber; nullopt unless it reads as a Number.
std::optional<double> ParseNumber(const std::wstring& text, const Regional& regional);

// Like ParseNumber but raises RuntimeError 13 ("Type mismatch") on a text
// that gives no value, as the runtime's conversion does.
double CDbl(const std::wstring& text, const Regional& regional);

// The leading-number value: the number at the start of the text read with a
// point as the only decimal separator, blanks skipped; 0 when none.
double Val(const std::wstring& text);

// An amount as a whole number of cents, read from a file that writes it with
// the given decimal mark and grouping mark (0: none), whatever the regional
// settings say, so that "7,62" is never 7 and "1.00" never 100.  Blanks
// around it, a sign before or a minus after it, or parentheses around it
// (negative) are allowed; grouping must be well formed (a first group of one
// to three digits, then groups of three); after the decimal mark one or two
// digits, or more that are all zeros.  nullopt for anything else, and for
// more than 13 digits before the decimal mark.
std::optional<std::int64_t> ParseCents(std::wstring_view text, wchar_t decimalMark, wchar_t groupMark);

// A number as SQL text: point decimal, no grouping, whole values without a
// point, at most 15 significant digits (150, 12.5, -40).
std::wstring SqlNumber(double value);

// A number as the runtime writes it for the user: like SqlNumber but with
// the regional decimal separator (12,5 in Spain), never grouped.
std::wstring CStr(double value, const Regional& regional);

}  // namespace arc
