#pragma once
// Pieces of SQL the ledger composes: text literals with their quotes doubled.
#include <string>

namespace arc {

// The text with every single quote doubled, ready to stand between quotes.
inline std::wstring SqlQuoted(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        out += c;
        if (c == L'\'') out += L'\'';
    }
    return out;
}

}  // namespace arc
