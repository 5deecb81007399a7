#include "Format.h"

#include "DateValue.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cwctype>

namespace arc {

std::wstring FormatNumber(double value, const std::wstring& pattern, const Regional& regional) {
    // Read the pattern: the whole part's placeholders and the decimal part's.
    auto dot = pattern.find(L'.');
    std::wstring whole = pattern.substr(0, dot);
    std::wstring frac = dot == std::wstring::npos ? L"" : pattern.substr(dot + 1);
    bool grouping = whole.find(L',') != std::wstring::npos;
    int minWhole = 0;
    for (wchar_t c : whole)
        if (c == L'0') ++minWhole;
    int minFrac = 0, maxFrac = 0;
    for (wchar_t c : frac) {
        if (c == L'0') { ++minFrac; ++maxFrac; }
        else if (c == L'#') ++maxFrac;
    }

    // Round half away from zero to the number of decimals the pattern allows.
    bool negative = value < 0;
    double a = std::fabs(value);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", maxFrac, a);
    // printf rounds half to even on exact binary halves; nudge to away-from-zero.
    {
        double scale = std::pow(10.0, maxFrac);
        double scaled = a * scale;
        double fl = std::floor(scaled);
        if (scaled - fl == 0.5) std::snprintf(buf, sizeof buf, "%.*f", maxFrac, (fl + 1) / scale);
    }
    std::string digits = buf;
    std::string intPart = digits.substr(0, digits.find('.'));
    std::string fracPart = digits.find('.') == std::string::npos ? "" : digits.substr(digits.find('.') + 1);
    while (static_cast<int>(fracPart.size()) > minFrac && !fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    // Leading zeros of the whole part beyond what the pattern demands go.
    while (intPart.size() > 1 && intPart[0] == '0') intPart.erase(intPart.begin());
    if (intPart == "0" && minWhole == 0) intPart.clear();
    while (static_cast<int>(intPart.size()) < minWhole) intPart.insert(intPart.begin(), '0');

    std::wstring out;
    for (size_t i = 0; i < intPart.size(); ++i) {
        out += static_cast<wchar_t>(intPart[i]);
        size_t left = intPart.size() - i - 1;
        if (grouping && left > 0 && left % 3 == 0) out += regional.thousand;
    }
    if (dot != std::wstring::npos) {
        out += regional.decimal;
        for (char c : fracPart) out += static_cast<wchar_t>(c);
    }
    bool allZero = true;
    for (char c : intPart + fracPart)
        if (c != '0') allZero = false;
    if (negative && !allZero) out.insert(out.begin(), L'-');
    return out;
}

namespace {

std::wstring Pad2(int v) {
    wchar_t b[8];
    swprintf(b, 8, L"%02d", v);
    return b;
}

std::wstring WindowsDate(double value, const std::wstring& pattern, const Regional& regional) {
    SYSTEMTIME st = ToSystemTime(value);
    wchar_t buf[256] = {};
    const wchar_t* locale = regional.localeName.empty() ? LOCALE_NAME_USER_DEFAULT : regional.localeName.c_str();
    int n = GetDateFormatEx(locale, 0, &st, pattern.empty() ? nullptr : pattern.c_str(), buf, 256, nullptr);
    return n > 0 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}

}  // namespace

std::wstring LongDate(double value, const Regional& regional) {
    return WindowsDate(value, regional.longDatePattern, regional);
}

std::wstring ShortDate(double value, const Regional& regional) {
    return WindowsDate(value, regional.shortDatePattern, regional);
}

std::wstring FormatDate(double value, const std::wstring& pattern, const Regional& regional) {
    DateParts p = SplitDate(value);
    std::wstring out;
    bool lastWasHour = false;
    size_t i = 0;
    auto run = [&](wchar_t letter) {
        size_t j = i;
        while (j < pattern.size() && std::towlower(pattern[j]) == letter) ++j;
        return j - i;
    };
    while (i < pattern.size()) {
        wchar_t c = static_cast<wchar_t>(std::towlower(pattern[i]));
        size_t n = (c == L'y' || c == L'm' || c == L'd' || c == L'h' || c == L'n' || c == L's') ? run(c) : 1;
        switch (c) {
            case L'y':
                if (n >= 3) { wchar_t b[8]; swprintf(b, 8, L"%04d", p.year); out += b; }
                else out += Pad2(p.year % 100);
                lastWasHour = false;
                break;
            case L'm':
                if (lastWasHour && n <= 2) {
                    out += n == 2 ? Pad2(p.minute) : std::to_wstring(p.minute);
                } else if (n >= 4) out += regional.monthNames[p.month - 1];
                else if (n == 3) out += regional.monthAbbrevs[p.month - 1];
                else out += n == 2 ? Pad2(p.month) : std::to_wstring(p.month);
                lastWasHour = false;
                break;
            case L'd':
                if (n >= 6) out += LongDate(value, regional);
                else if (n == 5) out += ShortDate(value, regional);
                else if (n == 4) out += regional.dayNames[p.dayOfWeek];
                else if (n == 3) out += regional.dayAbbrevs[p.dayOfWeek];
                else out += n == 2 ? Pad2(p.day) : std::to_wstring(p.day);
                lastWasHour = false;
                break;
            case L'h':
                out += n >= 2 ? Pad2(p.hour) : std::to_wstring(p.hour);
                lastWasHour = true;
                break;
            case L'n':
                out += n >= 2 ? Pad2(p.minute) : std::to_wstring(p.minute);
                lastWasHour = false;
                break;
            case L's':
                out += n >= 2 ? Pad2(p.second) : std::to_wstring(p.second);
                lastWasHour = false;
                break;
            default:
                out += pattern[i];
                break;
        }
        i += n;
    }
    return out;
}

}  // namespace arc
