#include "TextFile.h"

#include "Text.h"

#include <windows.h>

namespace arc {
namespace {

bool WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines,
                std::string (*encode)(std::wstring_view)) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += encode(line);
        bytes += "\r\n";
    }
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    BOOL closed = CloseHandle(f);
    return ok && closed && written == bytes.size();
}

}  // namespace

bool WriteAnsiLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    return WriteLines(path, lines, ToAnsi);
}

bool WriteOemLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    return WriteLines(path, lines, ToOem);
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

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace arc
