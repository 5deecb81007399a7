#include "RepairBatch.h"

#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"

#include <windows.h>

namespace arc::repair {
namespace {

// Characters after which the command interpreter wants a name quoted: the
// blank and tab, and the ones it treats as separators or operators.
constexpr wchar_t kNeedsQuotes[] = L" \t&()[]{}^=;!'+,`~|<>";

bool SurvivesAnsi(const std::wstring& text) { return FromAnsi(ToAnsi(text)) == text; }

}  // namespace

std::wstring RepairBatchFile(const std::wstring& programFolder) { return programFolder + L"\\REPARADOR.BAT"; }

std::wstring BatchWord(const std::wstring& path) {
    std::wstring word;
    for (wchar_t c : path) {
        word += c;
        if (c == L'%') word += L'%';
    }
    if (path.find_first_of(kNeedsQuotes) != std::wstring::npos) word = L"\"" + word + L"\"";
    return word;
}

std::vector<std::wstring> RepairBatchLines(const std::wstring& programFolder, const std::wstring& chosenFile,
                                           DumpCommand command) {
    const std::wstring shell = BatchWord(programFolder + L"\\sqlite3.exe");
    const std::wstring file = BatchWord(chosenFile);
    const std::wstring dump = BatchWord(chosenFile + L".REPARAR_BD");
    const std::wstring dot = command == DumpCommand::Recover ? L".recover" : L".dump";
    return {
        L"@echo off",
        L"echo " + dot + L" | " + shell + L" " + file + L" > " + dump,
        L"ren " + file + L" BD.DB.anterior",
        shell + L" -init " + dump + L" BD.db",
    };
}

std::optional<std::wstring> AnsiSafePath(const std::wstring& path) {
    if (SurvivesAnsi(path)) return path;
    DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring shortPath(n, L'\0');
    n = GetShortPathNameW(path.c_str(), shortPath.data(), n);
    if (n == 0 || n >= shortPath.size()) return std::nullopt;
    shortPath.resize(n);
    if (!SurvivesAnsi(shortPath)) return std::nullopt;
    return shortPath;
}

std::wstring WorkingFolderOf(const std::wstring& chosenFile) {
    std::wstring folder = FolderOf(chosenFile);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

}  // namespace arc::repair
