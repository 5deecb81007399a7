#pragma once
// Bank statement files written by the tests themselves, byte by byte as a
// bank writes them: Norma 43 (records of 80 characters in Windows-1252,
// CR LF or LF, with or without trailing spaces, totals that may be made not
// to add up) and CSV exports.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arc::test {

struct N43Movement {
    std::string date;         // operation date, "YYMMDD"
    std::int64_t cents = 0;   // a credit positive, a debit negative
    std::vector<std::wstring> concepts;  // one 23 line each (up to 76 characters), in Windows-1252
    int common = 99;          // common concept code
    std::string reference1, reference2;
};

struct N43Account {
    std::string bank = "2100", branch = "0418", account = "0200051332";
    std::string from, to;     // the period, "YYMMDD"
    std::int64_t initialCents = 0;
    std::wstring holder = L"ASOCIACION DE PRUEBA";
    std::vector<N43Movement> movements;
    // What the 33 record claims instead of the true figures, to make a file whose totals do not add up.
    std::optional<std::int64_t> claimedDebits, claimedFinal;
};

struct N43Options {
    std::string lineEnd = "\r\n";
    bool trimTrailingSpaces = false;
    bool fileHeader = false;  // a 00 record first
};

std::string Norma43File(const std::vector<N43Account>& accounts, const N43Options& options = {});

// A CSV file: cells joined by the separator, quoted where they hold it or
// a quote, lines ended by CR LF; UTF-8 or Windows-1252.
std::string CsvFile(const std::vector<std::vector<std::wstring>>& rows, wchar_t separator, bool utf8 = false);

}  // namespace arc::test
