#include "TextMetrics.h"

#include <cmath>
#include <cwctype>

namespace arc::report {
namespace {

// Advance widths in 1/1000 em of the ANSI characters 32..255 (undefined
// positions take the width of '?').
const short kRegular[224] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584, 556,
    556, 556, 222, 556, 333, 1000, 556, 556, 333, 1000, 667, 333, 1000, 556, 611, 556,
    556, 222, 222, 333, 333, 350, 556, 1000, 333, 1000, 500, 333, 944, 556, 500, 667,
    278, 333, 556, 556, 556, 556, 260, 556, 333, 737, 370, 556, 584, 333, 737, 552,
    400, 549, 333, 333, 333, 576, 537, 278, 333, 333, 365, 556, 834, 834, 834, 611,
    667, 667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,
    556, 556, 556, 556, 556, 556, 889, 500, 556, 556, 556, 556, 278, 278, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 549, 611, 556, 556, 556, 556, 500, 556, 500,
};
const short kBold[224] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611,
    975, 722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 333, 278, 333, 584, 556,
    333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, 611, 611,
    611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584, 611,
    556, 611, 278, 556, 500, 1000, 556, 556, 333, 1000, 667, 333, 1000, 611, 611, 611,
    611, 278, 278, 500, 500, 350, 556, 1000, 333, 1000, 556, 333, 944, 611, 500, 667,
    278, 333, 556, 556, 556, 556, 280, 556, 333, 737, 370, 556, 584, 333, 737, 552,
    400, 549, 333, 333, 333, 576, 556, 278, 333, 333, 365, 556, 834, 834, 834, 611,
    722, 722, 722, 722, 722, 722, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,
    556, 556, 556, 556, 556, 556, 889, 556, 556, 556, 556, 556, 278, 278, 278, 278,
    611, 611, 611, 611, 611, 611, 611, 549, 611, 611, 611, 611, 611, 556, 611, 556,
};

// Unicode of the ANSI characters 0x80..0x9F; 0 where the set has none.
const wchar_t kHigh[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

constexpr double kAscent = 1854.0 / 2048.0;   // of the em, Arial's
constexpr double kDescent = 434.0 / 2048.0;
constexpr double kNarrow = 0.82;

// Twips per 1/1000 em in this style.
double UnitScale(const TextStyle& style) {
    return style.points * 20.0 / 1000.0 * (IsNarrow(style) ? kNarrow : 1.0);
}

int Units(wchar_t c, const short* table) {
    unsigned char a = ToWinAnsi(c);
    return a < 32 ? table['?' - 32] : table[a - 32];
}

void WrapParagraph(std::wstring_view p, double limitUnits, const short* table, bool breakWords,
                   std::vector<std::wstring>& out) {
    size_t start = 0;
    while (true) {
        while (start < p.size() && p[start] == L' ' && start > 0) ++start;  // spaces at a soft break go
        if (start >= p.size()) return;
        double width = 0;
        size_t lastBreak = std::wstring_view::npos;  // end of the last word that fits
        size_t i = start;
        for (; i < p.size(); ++i) {
            if (p[i] == L' ' && i > start && p[i - 1] != L' ') lastBreak = i;
            width += Units(p[i], table);
            if (width > limitUnits && p[i] != L' ') break;
        }
        if (i >= p.size()) {
            out.emplace_back(p.substr(start));
            return;
        }
        size_t end = lastBreak;
        if (end == std::wstring_view::npos) {
            if (breakWords) {
                end = i > start ? i : start + 1;
            } else {
                end = p.find(L' ', i);  // the whole word
                if (end == std::wstring_view::npos) end = p.size();
            }
        }
        out.emplace_back(p.substr(start, end - start));
        start = end;
    }
}

}  // namespace

unsigned char ToWinAnsi(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] && kHigh[i] == c) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

std::wstring InWinAnsi(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c < 0x80 || ToWinAnsi(c) != '?') {
            out += c;
            continue;
        }
        out += L'?';
        // A character beyond the basic plane is one "?", not two.
        if (IS_HIGH_SURROGATE(c) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) ++i;
    }
    return out;
}

bool IsNarrow(const TextStyle& style) {
    return style.face.find(L"Narrow") != std::wstring::npos;
}

double TextWidth(std::wstring_view text, const TextStyle& style) {
    const short* table = style.bold ? kBold : kRegular;
    long units = 0;
    for (wchar_t c : text) units += Units(c, table);
    return units * UnitScale(style);
}

int LineHeight(const TextStyle& style) {
    return static_cast<int>(std::lround(style.points * 20.0 * (kAscent + kDescent)));
}

int Ascent(const TextStyle& style) {
    return static_cast<int>(std::lround(style.points * 20.0 * kAscent));
}

std::vector<std::wstring> WrapLines(std::wstring_view text, int width, const TextStyle& style, bool breakWords) {
    std::vector<std::wstring> out;
    const short* table = style.bold ? kBold : kRegular;
    double limit = width / UnitScale(style);
    size_t start = 0;
    while (true) {
        size_t br = text.find_first_of(L"\r\n", start);
        std::wstring_view p = text.substr(start, br == std::wstring_view::npos ? std::wstring_view::npos : br - start);
        size_t before = out.size();
        WrapParagraph(p, limit, table, breakWords, out);
        if (out.size() == before) out.emplace_back();  // an empty line stays a line
        if (br == std::wstring_view::npos) break;
        start = br + 1;
        if (text[br] == L'\r' && start < text.size() && text[start] == L'\n') ++start;
    }
    return out;
}

}  // namespace arc::report
