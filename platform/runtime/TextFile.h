#pragma once
// Text files as the programs keep them: single-byte text in the ANSI code
// page, lines ended by CR LF, always rewritten whole.
#include <optional>
#include <string>
#include <vector>

namespace arc {

// Creates or replaces the file with the lines, each followed by CR LF, in one
// write.  Returns false when the file cannot be created or written.
bool WriteAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines);
// The same in the OEM code page, the one the command interpreter reads a
// batch file in, so that its letters outside ASCII reach it unchanged.
bool WriteOemLines(const std::wstring& path, const std::vector<std::wstring>& lines);

// Replaces the file with the lines so that, whatever fails, the file holds
// either its old content or the new one whole: the lines are written and
// flushed to a new file in the same folder, which then takes the old one's
// place in one rename.  Returns false (the old file untouched, nothing left
// behind) when that cannot be done.
bool ReplaceAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines);

// Creates the file with the lines only when no file of that name exists:
// two callers racing for one name never both get it.  Returns false when the
// file exists or cannot be created or written (a file it created but could
// not fill is removed again).
bool CreateAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines);

// The first line of the file without its line end (CR LF, LF or CR), or
// nullopt when the file cannot be opened.  An empty file gives "".
std::optional<std::wstring> ReadFirstAnsiLine(const std::wstring& path);

// The whole content of a file, read with others still allowed to read and
// write it.
struct FileBytes {
    enum class Status { Ok, CannotOpen, TooLarge, ReadFailed };
    Status status = Status::CannotOpen;
    std::string bytes;  // the content when Ok
};
// TooLarge, with nothing read, for a file of more than maxBytes.
FileBytes ReadFileBytes(const std::wstring& path, size_t maxBytes);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

}  // namespace arc
