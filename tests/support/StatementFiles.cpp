#include "StatementFiles.h"

#include <windows.h>

#include <cstdio>

namespace arc::test {
namespace {

std::string Cp1252(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Digits(std::int64_t value, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(value < 0 ? -value : value));
    return buf;
}

std::string Padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string Sign(std::int64_t cents) { return cents < 0 ? "1" : "2"; }

}  // namespace

std::string Norma43File(const std::vector<N43Account>& accounts, const N43Options& options) {
    std::vector<std::string> records;
    if (options.fileHeader) records.push_back(Padded("00" + std::string(18, '0'), 80));
    for (const N43Account& a : accounts) {
        const std::string key = a.bank + a.branch + a.account;
        records.push_back(Padded("11" + key + a.from + a.to + Sign(a.initialCents) + Digits(a.initialCents, 14) +
                                     "978" + "3" + Padded(Cp1252(a.holder), 26),
                                 80));
        std::int64_t debits = 0, credits = 0, debitCount = 0, creditCount = 0;
        for (const N43Movement& m : a.movements) {
            (m.cents < 0 ? debits : credits) += m.cents < 0 ? -m.cents : m.cents;
            ++(m.cents < 0 ? debitCount : creditCount);
            records.push_back("22" + std::string(4, ' ') + a.branch + m.date + m.date + Digits(m.common, 2) + "000" +
                              Sign(m.cents) + Digits(m.cents, 14) + Digits(0, 10) + Padded(m.reference1, 12) +
                              Padded(m.reference2, 16));
            for (size_t i = 0; i < m.concepts.size(); ++i)
                records.push_back(Padded("23" + Digits(static_cast<std::int64_t>(i + 1), 2) + Cp1252(m.concepts[i]), 80));
        }
        const std::int64_t finalCents = a.claimedFinal.value_or(a.initialCents + credits - debits);
        records.push_back(Padded("33" + key + Digits(debitCount, 5) + Digits(a.claimedDebits.value_or(debits), 14) +
                                     Digits(creditCount, 5) + Digits(credits, 14) + Sign(finalCents) +
                                     Digits(finalCents, 14) + "978",
                                 80));
    }
    const size_t counted = records.size() - (options.fileHeader ? 1 : 0);
    records.push_back(Padded("88" + std::string(18, '9') + Digits(static_cast<std::int64_t>(counted), 6), 80));
    std::string file;
    for (std::string r : records) {
        if (options.trimTrailingSpaces) r.erase(r.find_last_not_of(' ') + 1);
        file += r + options.lineEnd;
    }
    return file;
}

std::string CsvFile(const std::vector<std::vector<std::wstring>>& rows, wchar_t separator, bool utf8) {
    std::wstring text;
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c) text += separator;
            if (row[c].find_first_of(std::wstring(1, separator) + L"\"\r\n") == std::wstring::npos) {
                text += row[c];
                continue;
            }
            text += L'"';
            for (wchar_t ch : row[c]) text += ch == L'"' ? std::wstring(L"\"\"") : std::wstring(1, ch);
            text += L'"';
        }
        text += L"\r\n";
    }
    if (!utf8) return Cp1252(text);
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace arc::test
