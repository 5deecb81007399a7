#include "FileAccess.h"

#include <windows.h>

namespace arc::repair {

bool IsUncPath(const std::wstring& path) {
    auto slash = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    return path.size() >= 2 && slash(path[0]) && slash(path[1]);
}

bool InUseByAnotherProgram(const std::wstring& path) {
    // No sharing at all: any other open handle makes this fail.
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    }
    CloseHandle(f);
    return false;
}

bool FolderWritable(const std::wstring& folder) {
    const std::wstring stem = folder + L"\\corvelan-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    // A name left by an earlier run only means: try the next one.
    for (int n = 0; n < 10; ++n) {
        const std::wstring probe = stem + std::to_wstring(n) + L".tmp";
        HANDLE f = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            CloseHandle(f);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

}  // namespace arc::repair
