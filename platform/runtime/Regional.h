#pragma once
// The regional settings the programs format and parse with.  They are read
// once from the system (or for a named locale, which tests use to fix them)
// and passed as a value to the pure format and conversion functions.
#include <array>
#include <string>

namespace arc {

struct Regional {
    std::wstring localeName;        // e.g. "es-ES"
    std::wstring decimal;           // LOCALE_SDECIMAL, e.g. ","
    std::wstring thousand;          // LOCALE_STHOUSAND, e.g. "."
    std::wstring longDatePattern;   // LOCALE_SLONGDATE, e.g. "dddd, d' de 'MMMM' de 'yyyy"
    std::wstring shortDatePattern;  // LOCALE_SSHORTDATE, e.g. "dd/MM/yyyy"
    std::array<std::wstring, 12> monthNames;
    std::array<std::wstring, 12> monthAbbrevs;
    std::array<std::wstring, 7> dayNames;     // Sunday first
    std::array<std::wstring, 7> dayAbbrevs;   // Sunday first
};

// Settings of the user's own locale.
Regional SystemRegional();
// Settings of a named locale ("en-US", "es-ES"), read from the platform's data.
Regional RegionalFor(const std::wstring& localeName);

}  // namespace arc
