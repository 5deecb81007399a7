#pragma once
// Date values as the language runtime keeps them: a double counting days
// since 30 December 1899, the fraction being the time of day.  1 January 1601
// is -109205 and 31 December 9999 is 2958465.
#include "Regional.h"

#include <windows.h>

#include <optional>
#include <string>

namespace arc {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 6;  // 0 = Sunday
};

constexpr double kMinDateValue = -109205.0;   // 1 January 1601
constexpr double kMaxDateValue = 2958465.0;   // 31 December 9999

bool IsValidDate(int year, int month, int day);
double DateSerial(int year, int month, int day);
double TimeSerial(int hour, int minute, int second);
DateParts SplitDate(double value);
double DateOnly(double value);  // the day, time of day dropped

double FromSystemTime(const SYSTEMTIME& t);       // date and time
SYSTEMTIME ToSystemTime(double value);            // milliseconds 0
double Today(const SYSTEMTIME& now);              // date of now, no time

// The runtime's locale-aware reading of a text as a date: "YYYY-MM-DD",
// the short date order of the locale with "/", "-" or "." between the
// parts, month names, each optionally followed by a time "h:mm[:ss]".
// nullopt when the text is no date.
std::optional<double> ParseDate(const std::wstring& text, const Regional& regional);

// "YYYY-MM-DD".
std::wstring IsoDate(double value);
// The day of a "YYYY-MM-DD" text as SQL holds it, strictly; nullopt for
// anything else.
std::optional<double> ParseIsoDate(const std::wstring& text);

}  // namespace arc
