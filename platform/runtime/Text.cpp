#include "Text.h"

#include <windows.h>

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

std::wstring ToUpper(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

}  // namespace arc
