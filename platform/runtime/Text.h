#pragma once
// Conversions between the encodings the programs meet: UTF-16 in the user
// interface, UTF-8 in SQLite, the ANSI code page in files they write.
#include <optional>
#include <string>
#include <string_view>

namespace arc {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
std::string ToAnsi(std::wstring_view text);    // CP_ACP; unmappable letters become '?'
std::wstring FromAnsi(std::string_view text);  // CP_ACP
// The OEM code page, in which the command interpreter reads batch files.
std::string ToOem(std::wstring_view text);     // CP_OEMCP; unmappable letters become '?'
std::wstring FromOem(std::string_view text);   // CP_OEMCP

// Text of a file written in Windows-1252 (the Western code page, whatever
// the system's own is).
std::wstring FromWindows1252(std::string_view text);
// Text of a file in UTF-8, or nullopt when the bytes are not valid UTF-8.
std::optional<std::wstring> FromStrictUtf8(std::string_view text);
// The text of a file whose encoding is not declared: UTF-8 after a UTF-8
// byte-order mark (which is dropped) or when the bytes are valid UTF-8,
// otherwise Windows-1252, the single-byte code page of Spanish banks' files.
std::wstring FromFileBytes(std::string_view bytes);

// The text without the blanks (white space and no-break spaces) at either end.
std::wstring Trim(std::wstring_view text);

// Upper case by the platform's own mapping (niños -> NIÑOS), everything else kept.
std::wstring ToUpper(std::wstring_view text);

// UTF-8 text folded for a search that ignores case and accents in Spanish
// (and the other Latin letters): "Niños", "NIÑOS" and "ninos" all fold to
// "NINOS".  Letters outside Latin-1 are kept as they are.
std::string FoldForSearch(std::string_view utf8);
// Whether the folded text contains an already folded needle.
bool ContainsFolded(std::string_view utf8, std::string_view foldedNeedle);

}  // namespace arc
