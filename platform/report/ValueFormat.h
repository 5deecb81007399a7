#pragma once
// A field value as a report control shows it, with the runtime's Format
// semantics: NULL shows nothing; a number pattern ("#,###.##") formats
// numbers and numeric texts, without a decimal separator at the end ("150",
// "40,5", and nothing for 0); a date pattern ("d-MMM-yy") formats date
// values and texts that read as dates ("2026-01-05"); a value the pattern
// does not fit is shown as it is.
#include "platform/data/Value.h"
#include "platform/runtime/Regional.h"

#include <string>

namespace arc::report {

std::wstring FormatValue(const data::Value& value, const std::wstring& format, const Regional& regional);

// True when a pattern formats numbers (it has a digit placeholder).
bool IsNumberPattern(const std::wstring& format);

}  // namespace arc::report
