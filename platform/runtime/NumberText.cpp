#include "NumberText.h"

#include "Error.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>

namespace arc {
namespace {

bool StartsWith(const std::wstring& s, size_t at, const std::wstring& what) {
    return !what.empty() && s.compare(at, what.size(), what) == 0;
}

// Parses the regional form into a plain C number text ("-1234.5e3"), or fails.
std::optional<std::string> Normalise(const std::wstring& text, const Regional& r) {
    size_t i = 0, n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == L' ' || text[i] == L'\t' || text[i] == 0xA0)) ++i;
    };
    skipBlanks();
    std::string out;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-') out += '-';
        ++i;
        skipBlanks();
    }
    bool digits = false, decimal = false;
        const std::wstring& dec = r.decimal;
    const std::wstring& grp = r.thousand;
    while (i < n) {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            out += static_cast<char>(c);
            digits = true;
            ++i;
        } else if (!decimal && StartsWith(text, i, dec)) {
            decimal = true;
            out += '.';
            i += dec.size();
        } else if (!decimal && digits && StartsWith(text, i, grp)) {
            // Grouping is read loosely, as the runtime does: "1,000" and the
            // "1," on the way to it while typing are both numbers.
            i += grp.size();
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < n && (text[i] == L'e' || text[i] == L'E')) {
        size_t save = i;
        std::string exp = "e";
        ++i;
        if (i < n && (text[i] == L'+' || text[i] == L'-')) exp += static_cast<char>(text[i++]);
        bool expDigits = false;
        while (i < n && text[i] >= L'0' && text[i] <= L'9') {
            exp += static_cast<char>(text[i++]);
            expDigits = true;
        }
        if (!expDigits) i = save;
        else out += exp;
    }
    skipBlanks();
    if (i != n) return std::nullopt;
    return out;
}

}  // namespace

bool IsNumeric(const std::wstring& text, const Regional& regional) {
    return ParseNumber(text, regional).has_value();
}

std::optional<double> ParseNumber(const std::wstring& text, const Regional& regional) {
    auto plain = Normalise(text, regional);
    if (!plain) return std::nullopt;
    double v = std::strtod(plain->c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

double CDbl(const std::wstring& text, const Regional& regional) {
    auto v = ParseNumber(text, regional);
    if (!v) throw RuntimeError(kErrTypeMismatch, L"Type mismatch");
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
