#include "NumberText.h"

#include "Error.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <vector>

namespace arc {
namespace {

bool StartsWith(const std::wstring& s, size_t at, const std::wstring& what) {
    return !what.empty() && s.compare(at, what.size(), what) == 0;
}

// A number as typed, read loosely: where the grouping symbols stand is kept,
// not judged, so that both the typing test and the strict value can use it.
struct Shape {
    bool negative = false;
    std::vector<std::string> groups{1};  // digits of the whole part, split at each grouping symbol
    bool decimal = false;                // the decimal separator was written
    std::string fraction;                // digits after it
    bool exponentMark = false;           // an "e" was written
    std::string exponent;                // its sign and digits
    bool HasDigits() const {
        for (const auto& g : groups)
            if (!g.empty()) return true;
        return !fraction.empty();
    }
};

// The shape of a text that is a number or the start of one; nullopt for any
// other text, and for the empty or blank text.
std::optional<Shape> ShapeOf(const std::wstring& text, const Regional& r) {
    const std::wstring& dec = r.decimal;
    // A grouping symbol that is also the decimal separator is the decimal.
    const std::wstring grp = r.thousand == dec ? std::wstring() : r.thousand;
    size_t i = 0, n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == L' ' || text[i] == L'\t' || text[i] == 0xA0)) ++i;
    };
    skipBlanks();
    if (i == n) return std::nullopt;
    Shape s;
    if (text[i] == L'+' || text[i] == L'-') {
        s.negative = text[i] == L'-';
        ++i;
        skipBlanks();
    }
    while (i < n) {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            (s.decimal ? s.fraction : s.groups.back()) += static_cast<char>(c);
            ++i;
        } else if (!s.decimal && StartsWith(text, i, dec)) {
            s.decimal = true;
            i += dec.size();
        } else if (!s.decimal && StartsWith(text, i, grp)) {
            s.groups.emplace_back();
            i += grp.size();
        } else {
            break;
        }
    }
    if (i < n && (text[i] == L'e' || text[i] == L'E') && s.HasDigits()) {
        s.exponentMark = true;
        ++i;
        if (i < n && (text[i] == L'+' || text[i] == L'-')) s.exponent += static_cast<char>(text[i++]);
        while (i < n && text[i] >= L'0' && text[i] <= L'9') s.exponent += static_cast<char>(text[i++]);
    }
    skipBlanks();
    if (i != n) return std::nullopt;
    return s;
}

bool WellGrouped(const std::vector<std::string>& groups) {
    const std::string& first = groups.front();
    if (first.empty() || first.size() > 3 || first[0] == '0') return false;
    for (size_t g = 1; g < groups.size(); ++g)
        if (groups[g].size() != 3) return false;
    return true;
}

}  // namespace

bool IsNumeric(const std::wstring& text, const Regional& regional) { return ShapeOf(text, regional).has_value(); }

NumberReading ReadNumber(const std::wstring& text, const Regional& regional) {
    using Kind = NumberReading::Kind;
    auto s = ShapeOf(text, regional);
    if (!s || !s->HasDigits() || (s->exponentMark && s->exponent.find_first_of("0123456789") == std::string::npos))
        return {Kind::NotNumber, 0};
    std::string whole, fraction = s->fraction;
    if (s->groups.size() == 2 && !s->decimal && s->groups[1].size() != 3 && !s->groups[1].empty()) {
        // One grouping symbol that cannot be grouping: it is the decimal point.
        whole = s->groups[0];
        fraction = s->groups[1];
    } else if (s->groups.size() == 1 || WellGrouped(s->groups)) {
        for (const auto& g : s->groups) whole += g;
    } else {
        return {Kind::BadGrouping, 0};
    }
    std::string plain = s->negative ? "-" : "";
    plain += whole.empty() ? "0" : whole;
    plain += '.';
    plain += fraction;
    if (s->exponentMark) plain += "e" + s->exponent;
    double v = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(v)) return {Kind::NotNumber, 0};
    return {Kind::Number, v};
}

std::optional<double> ParseNumber(const std::wstring& text, const Regional& regional) {
    NumberReading r = ReadNumber(text, regional);
    if (r.kind != NumberReading::Kind::Number) return std::nullopt;
    return r.value;
}

double CDbl(const std::wstring& text, const Regional& regional) {
    auto v = ParseNumber(text, regional);
    if (!v) throw RuntimeError(kErrTypeMismatch);
    return *v;
}

double Val(const std::wstring& text) {
    std::string plain;
    size_t i = 0, n = text.size();
    auto blank = [&](size_t k) { return text[k] == L' ' || text[k] == L'\t' || text[k] == L'\n' || text[k] == L'\r'; };
    while (i < n && blank(i)) ++i;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-') plain += '-';
        ++i;
    }
    bool point = false, exp = false;
    for (; i < n; ++i) {
        wchar_t c = text[i];
        if (blank(i)) continue;  // the runtime skips blanks inside the number too
        if (c >= L'0' && c <= L'9') plain += static_cast<char>(c);
        else if (c == L'.' && !point && !exp) { point = true; plain += '.'; }
        else if ((c == L'e' || c == L'E' || c == L'd' || c == L'D') && !exp && !plain.empty() &&
                 plain != "-") {
            exp = true;
            plain += 'e';
            if (i + 1 < n && (text[i + 1] == L'+' || text[i + 1] == L'-')) plain += static_cast<char>(text[++i]);
        } else break;
    }
    double v = std::strtod(plain.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

std::optional<std::int64_t> ParseCents(std::wstring_view text, wchar_t decimalMark, wchar_t groupMark) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == 0xA0 || c == 0x202F; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (text.size() >= 2 && text.front() == L'(' && text.back() == L')') {
        negative = true;
        text = text.substr(1, text.size() - 2);
    } else if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    } else if (!text.empty() && text.back() == L'-') {
        negative = true;
        text.remove_suffix(1);
    }
    std::vector<std::string> groups(1);
    std::string fraction;
    bool decimal = false;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') (decimal ? fraction : groups.back()) += static_cast<char>(c);
        else if (c == decimalMark && !decimal) decimal = true;
        else if (c == groupMark && groupMark != 0 && !decimal) groups.emplace_back();
        else return std::nullopt;
    }
    if (groups.size() > 1 && !WellGrouped(groups)) return std::nullopt;
    std::string whole;
    for (const auto& g : groups) whole += g;
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (decimal && fraction.empty()) return std::nullopt;
    if (fraction.size() > 2 && fraction.find_first_not_of('0', 2) != std::string::npos) return std::nullopt;
    fraction.resize(2, '0');
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 13) return std::nullopt;
    std::int64_t cents = 0;
    for (char c : whole + fraction) cents = cents * 10 + (c - '0');
    return negative ? -cents : cents;
}

std::wstring SqlNumber(double value) {
    if (value == 0) return L"0";  // also turns -0 into 0
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    // "%G" writes exponents as E+020 on some runtimes; keep the short form.
    auto e = s.find('E');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        int ex = std::atoi(s.c_str() + e + 1);
        s = mant + "E" + (ex < 0 ? "-" : "+") + std::to_string(std::abs(ex));
    }
    return std::wstring(s.begin(), s.end());
}

std::wstring CStr(double value, const Regional& regional) {
    std::wstring text = SqlNumber(value);
    if (auto dot = text.find(L'.'); dot != std::wstring::npos) text.replace(dot, 1, regional.decimal);
    return text;
}

}  // namespace arc
