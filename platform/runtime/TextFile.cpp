#include "TextFile.h"

#include "Text.h"

#include <windows.h>

namespace arc {
namespace {

// The lines, each followed by CR LF, in the code page of the encoder.
std::string EncodedLines(const std::vector<std::wstring>& lines, std::string (*encode)(std::wstring_view)) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

std::string AnsiLines(const std::vector<std::wstring>& lines) { return EncodedLines(lines, ToAnsi); }

enum class OnFailure { Keep, Remove };

// Opens the file as the disposition says and writes the bytes in one write,
// flushed to the disk when asked.  A file that was opened but could not be
// written whole is removed when asked.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes, DWORD disposition, bool flush,
                    OnFailure onFailure = OnFailure::Keep) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (ok && flush) ok = FlushFileBuffers(f);
    BOOL closed = CloseHandle(f);
    if (ok && closed && written == bytes.size()) return true;
    if (onFailure == OnFailure::Remove) DeleteFileW(path.c_str());
    return false;
}

}  // namespace

bool WriteAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    return WriteFileBytes(path, AnsiLines(lines), CREATE_ALWAYS, false);
}

bool WriteOemLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    return WriteFileBytes(path, EncodedLines(lines, ToOem), CREATE_ALWAYS, false);
}

bool ReplaceAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    auto slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
    // A name of its own in the same folder, so that the rename stays on one
    // volume and two programs saving at once never share the new file.
    wchar_t fresh[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"arc", 0, fresh)) return false;
    if (WriteFileBytes(fresh, AnsiLines(lines), TRUNCATE_EXISTING, true) &&
        MoveFileExW(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(fresh);
    return false;
}

bool CreateAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    return WriteFileBytes(path, AnsiLines(lines), CREATE_NEW, false, OnFailure::Remove);
}

std::optional<std::wstring> ReadFirstAnsiLine(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    bool ok = true;
    // Only the first line matters; stop reading once a line end has been seen.
    while (true) {
        if (!ReadFile(f, buf, sizeof buf, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        bytes.append(buf, got);
        if (bytes.find_first_of("\r\n") != std::string::npos) break;
    }
    CloseHandle(f);
    if (!ok) return std::nullopt;
    auto end = bytes.find_first_of("\r\n");
    if (end != std::string::npos) bytes.resize(end);
    return FromAnsi(bytes);
}

FileBytes ReadFileBytes(const std::wstring& path, size_t maxBytes) {
    FileBytes out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f, &size)) {
        out.status = FileBytes::Status::ReadFailed;
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        out.status = FileBytes::Status::TooLarge;
    } else {
        out.status = FileBytes::Status::Ok;
        out.bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        if (!out.bytes.empty() &&
            (!ReadFile(f, out.bytes.data(), static_cast<DWORD>(out.bytes.size()), &got, nullptr) ||
             got != out.bytes.size())) {
            out.status = FileBytes::Status::ReadFailed;
            out.bytes.clear();
        }
    }
    CloseHandle(f);
    return out;
}

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace arc
