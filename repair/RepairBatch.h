#pragma once
// REPARADOR.BAT, the batch that rebuilds a database from its own dump: the
// shell dumps the chosen file beside itself, the file is set aside as
// "BD.DB.anterior" and a new "BD.db" is built from the dump.
#include <optional>
#include <string>
#include <vector>

namespace arc::repair {

// How the SQLite shell turns the chosen file into SQL text: ".dump" for a
// sound file, ".recover" for a damaged one (".dump" stops at the first bad
// page and still exits as if all went well).
enum class DumpCommand { Dump, Recover };

// The batch file of a program folder: P + "\REPARADOR.BAT".
std::wstring RepairBatchFile(const std::wstring& programFolder);

// A path as it must stand in a batch line: between quotation marks when it
// holds a blank or a character that the command interpreter would take as
// syntax, and with every "%" doubled so that it is not read as a variable.
// Other paths come back unchanged.
std::wstring BatchWord(const std::wstring& path);

// The four lines of the batch, without line ends.
std::vector<std::wstring> RepairBatchLines(const std::wstring& programFolder, const std::wstring& chosenFile,
                                           DumpCommand command);

// The path in a form that survives the ANSI code page of the batch file: the
// path itself when every letter maps, else its short (8.3) form when that
// maps, else nothing.  A letter that does not map would become "?", which the
// command interpreter reads as a wildcard and so could name another file.
std::optional<std::wstring> AnsiSafePath(const std::wstring& path);

// The folder the batch runs in: the chosen file's folder, with the backslash
// kept after a bare drive ("C:\"), since "C:" alone names the drive's
// current folder rather than its root.
std::wstring WorkingFolderOf(const std::wstring& chosenFile);

}  // namespace arc::repair
