#include "DateValue.h"

#include <cmath>
#include <cwctype>
#include <vector>

namespace arc {
namespace {

// Days from 1 March of year 0 (proleptic Gregorian), the usual civil-date trick.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long yy = yoe + era * 400;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

const long kEpoch = DaysFromCivil(1899, 12, 30);

}  // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int len = lengths[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= len;
}

double DateSerial(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - kEpoch);
}

double TimeSerial(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

DateParts SplitDate(double value) {
    DateParts p;
    // The runtime counts the fraction away from day 0 in both directions:
    // -1.25 is 29 December 1899, 06:00.
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long seconds = std::lround(frac * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += value < 0 ? -1 : 1;
    }
    long days = static_cast<long>(whole) + kEpoch;
    CivilFromDays(days, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    long dow = (days + 4) % 7;  // 1970-01-01 was a Thursday
    if (dow < 0) dow += 7;
    p.dayOfWeek = static_cast<int>(dow);
    return p;
}

double DateOnly(double value) { return std::trunc(value); }

double FromSystemTime(const SYSTEMTIME& t) {
    double d = DateSerial(t.wYear, t.wMonth, t.wDay);
    double f = TimeSerial(t.wHour, t.wMinute, t.wSecond);
    return d >= 0 ? d + f : d - f;
}

SYSTEMTIME ToSystemTime(double value) {
    DateParts p = SplitDate(value);
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(p.year);
    t.wMonth = static_cast<WORD>(p.month);
    t.wDay = static_cast<WORD>(p.day);
    t.wDayOfWeek = static_cast<WORD>(p.dayOfWeek);
    t.wHour = static_cast<WORD>(p.hour);
    t.wMinute = static_cast<WORD>(p.minute);
    t.wSecond = static_cast<WORD>(p.second);
    return t;
}

double Today(const SYSTEMTIME& now) { return DateSerial(now.wYear, now.wMonth, now.wDay); }

std::wstring IsoDate(double value) {
    DateParts p = SplitDate(value);
    wchar_t buf[16];
    swprintf(buf, 16, L"%04d-%02d-%02d", p.year, p.month, p.day);
    return buf;
}

std::optional<double> ParseIsoDate(const std::wstring& text) {
    if (text.size() != 10 || text[4] != L'-' || text[7] != L'-') return std::nullopt;
    int parts[3] = {0, 0, 0};
    const size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (size_t k = 0; k < lengths[p]; ++k) {
            const wchar_t c = text[starts[p] + k];
            if (c < L'0' || c > L'9') return std::nullopt;
            parts[p] = parts[p] * 10 + (c - L'0');
        }
    if (!IsValidDate(parts[0], parts[1], parts[2])) return std::nullopt;
    return DateSerial(parts[0], parts[1], parts[2]);
}

namespace {

struct Token {
    bool number;
    int value;
    std::wstring text;
};

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

int MonthByName(const std::wstring& word, const Regional& r) {
    std::wstring w = Lower(word);
    while (!w.empty() && w.back() == L'.') w.pop_back();
    if (w.size() < 3) return 0;
    for (int m = 0; m < 12; ++m) {
        std::wstring full = Lower(r.monthNames[m]);
        std::wstring ab = Lower(r.monthAbbrevs[m]);
        while (!ab.empty() && ab.back() == L'.') ab.pop_back();
        if (w == full || w == ab || (full.rfind(w, 0) == 0)) return m + 1;
    }
    static const wchar_t* english[] = {L"january", L"february", L"march", L"april", L"may", L"june",
                                       L"july", L"august", L"september", L"october", L"november", L"december"};
    for (int m = 0; m < 12; ++m)
        if (std::wstring(english[m]).rfind(w, 0) == 0) return m + 1;
    return 0;
}

// Order of day, month and year in the locale's short date pattern: "dmy", "mdy" or "ymd".
std::string ShortDateOrder(const Regional& r) {
    std::string order;
    for (wchar_t c : r.shortDatePattern) {
        char k = 0;
        if (c == L'd' || c == L'D') k = 'd';
        else if (c == L'M') k = 'm';
        else if (c == L'y' || c == L'Y') k = 'y';
        if (k && order.find(k) == std::string::npos) order += k;
    }
    return order.size() == 3 ? order : "mdy";
}

int FullYear(int y, size_t digits) {
    if (digits <= 2) return y < 30 ? 2000 + y : 1900 + y;  // the runtime's two-digit window
    return y;
}

}  // namespace

std::optional<double> ParseDate(const std::wstring& text, const Regional& regional) {
    // Split into date part and optional time part.
    std::wstring s = text;
    while (!s.empty() && std::iswspace(s.front())) s.erase(s.begin());
    while (!s.empty() && std::iswspace(s.back())) s.pop_back();
    if (s.empty()) return std::nullopt;

    std::vector<Token> dateTokens;
    std::vector<int> timeParts;
    std::vector<size_t> digitCounts;
    bool inTime = false;
    bool pm = false, am = false;
    size_t i = 0;
    while (i < s.size()) {
        wchar_t c = s[i];
        if (std::iswdigit(c)) {
            size_t j = i;
            int v = 0;
            while (j < s.size() && std::iswdigit(s[j])) {
                if (v > 100000) return std::nullopt;
                v = v * 10 + (s[j] - L'0');
                ++j;
            }
            bool followedByColon = j < s.size() && s[j] == L':';
            if (inTime || followedByColon) {
                inTime = true;
                timeParts.push_back(v);
            } else {
                dateTokens.push_back({true, v, {}});
                digitCounts.push_back(j - i);
            }
            i = j;
        } else if (std::iswalpha(c)) {
            size_t j = i;
            while (j < s.size() && (std::iswalpha(s[j]) || s[j] == L'.')) ++j;
            std::wstring word = s.substr(i, j - i);
            std::wstring lw = Lower(word);
            if (lw == L"pm" || lw == L"p.m." || lw == L"p. m.") pm = true;
            else if (lw == L"am" || lw == L"a.m.") am = true;
            else if (int m = MonthByName(word, regional)) {
                dateTokens.push_back({false, m, word});
                digitCounts.push_back(0);
            } else if (lw == L"de" || lw == L"of") {
                // words between the parts of a written-out date
            } else {
                return std::nullopt;
            }
            i = j;
        } else if (c == L':' ) {
            if (!inTime) return std::nullopt;
            ++i;
        } else if (c == L'/' || c == L'-' || c == L'.' || c == L',' || std::iswspace(c)) {
            if (inTime && c != L' ') return std::nullopt;
            ++i;
        } else {
            return std::nullopt;
        }
    }

    int year = 0, month = 0, day = 0;
    bool haveDate = !dateTokens.empty();
    if (haveDate) {
        if (dateTokens.size() != 3) return std::nullopt;
        int named = -1;
        for (size_t k = 0; k < 3; ++k)
            if (!dateTokens[k].number) named = static_cast<int>(k);
        if (named >= 0) {
            month = dateTokens[named].value;
            std::vector<size_t> others;
            for (size_t k = 0; k < 3; ++k)
                if (static_cast<int>(k) != named) others.push_back(k);
            size_t a = others[0], b = others[1];
            if (digitCounts[a] >= 3) {
                year = dateTokens[a].value;
                day = dateTokens[b].value;
            } else {
                day = dateTokens[a].value;
                year = FullYear(dateTokens[b].value, digitCounts[b]);
            }
        } else if (digitCounts[0] >= 3) {
            // Year first: the ISO form the ledger uses, whatever the locale.
            year = dateTokens[0].value;
            month = dateTokens[1].value;
            day = dateTokens[2].value;
        } else {
            std::string order = ShortDateOrder(regional);
            for (size_t k = 0; k < 3; ++k) {
                int v = dateTokens[k].value;
                switch (order[k]) {
                    case 'd': day = v; break;
                    case 'm': month = v; break;
                    default: year = FullYear(v, digitCounts[k]); break;
                }
            }
        }
        if (!IsValidDate(year, month, day)) return std::nullopt;
    }

    double time = 0;
    if (!timeParts.empty()) {
        if (timeParts.size() < 2 || timeParts.size() > 3) return std::nullopt;
        int h = timeParts[0], m = timeParts[1], sec = timeParts.size() == 3 ? timeParts[2] : 0;
        if (pm && h < 12) h += 12;
        if (am && h == 12) h = 0;
        if (h > 23 || m > 59 || sec > 59) return std::nullopt;
        time = TimeSerial(h, m, sec);
    } else if (!haveDate) {
        return std::nullopt;
    }
    if (!haveDate) return time;
    double d = DateSerial(year, month, day);
    return d >= 0 ? d + time : d - time;
}

}  // namespace arc
