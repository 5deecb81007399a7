#include "Text.h"

#include <windows.h>

#include <cwctype>

namespace arc {
namespace {

std::string Narrow(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(UINT codePage, std::string_view text, DWORD flags = 0) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

std::string ToUtf8(std::wstring_view text) { return Narrow(CP_UTF8, text); }
std::wstring FromUtf8(std::string_view text) { return Widen(CP_UTF8, text); }
std::string ToAnsi(std::wstring_view text) { return Narrow(CP_ACP, text); }
std::wstring FromAnsi(std::string_view text) { return Widen(CP_ACP, text); }
std::string ToOem(std::wstring_view text) { return Narrow(CP_OEMCP, text); }
std::wstring FromOem(std::string_view text) { return Widen(CP_OEMCP, text); }

std::wstring FromWindows1252(std::string_view text) { return Widen(1252, text); }

std::optional<std::wstring> FromStrictUtf8(std::string_view text) {
    if (text.empty()) return std::wstring();
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0) == 0)
        return std::nullopt;
    return Widen(CP_UTF8, text, MB_ERR_INVALID_CHARS);
}

std::wstring FromFileBytes(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
    if (auto utf8 = FromStrictUtf8(bytes)) return *utf8;
    return FromWindows1252(bytes);
}

std::wstring Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return std::iswspace(c) || c == L'\xA0'; };
    size_t a = 0, b = text.size();
    while (a < b && blank(text[a])) ++a;
    while (b > a && blank(text[b - 1])) --b;
    return std::wstring(text.substr(a, b - a));
}

std::wstring ToUpper(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

}  // namespace arc

namespace arc {
namespace {

// The folded form of U+00C0..U+00FF (second byte 0x80..0xBF after 0xC3):
// the base letter in upper case, or 0 for a sign kept as it is (Æ, ×, Þ, ß...).
constexpr char kLatin1Fold[64] = {
    'A', 'A', 'A', 'A', 'A', 'A', 0,   'C', 'E', 'E', 'E', 'E', 'I', 'I', 'I', 'I',  // À..Ï
    'D', 'N', 'O', 'O', 'O', 'O', 'O', 0,   'O', 'U', 'U', 'U', 'U', 'Y', 0,   0,    // Ð..ß
    'A', 'A', 'A', 'A', 'A', 'A', 0,   'C', 'E', 'E', 'E', 'E', 'I', 'I', 'I', 'I',  // à..ï
    'D', 'N', 'O', 'O', 'O', 'O', 'O', 0,   'O', 'U', 'U', 'U', 'U', 'Y', 0,   'Y',  // ð..ÿ
};

// Hands each byte of the folded text to put: ASCII letters in upper case,
// Latin-1 letters as their base letter in upper case, the rest as it is.
template <typename Put>
void Fold(std::string_view utf8, Put&& put) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            put((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c));
        } else if (c == 0xC3 && i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            unsigned char second = static_cast<unsigned char>(utf8[++i]);
            if (char base = kLatin1Fold[second - 0x80]) {
                put(base);
            } else {
                // æ, þ become Æ, Þ; the signs and ß stay.
                if (second == 0xA6 || second == 0xBE) second -= 0x20;
                put(static_cast<char>(c));
                put(static_cast<char>(second));
            }
        } else {
            put(static_cast<char>(c));
        }
    }
}

}  // namespace

std::string FoldForSearch(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Fold(utf8, [&](char c) { out += c; });
    return out;
}

bool ContainsFolded(std::string_view utf8, std::string_view foldedNeedle) {
    if (foldedNeedle.empty()) return true;
    if (utf8.size() < foldedNeedle.size()) return false;
    // A description fits the stack; a longer text takes the heap.  Folding
    // never makes a text longer.
    char stack[512];
    std::string heap;
    char* folded = stack;
    if (utf8.size() > sizeof stack) {
        heap.resize(utf8.size());
        folded = heap.data();
    }
    size_t n = 0;
    Fold(utf8, [&](char c) { folded[n++] = c; });
    return std::string_view(folded, n).find(foldedNeedle) != std::string_view::npos;
}

}  // namespace arc
