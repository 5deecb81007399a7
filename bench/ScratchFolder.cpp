#include "ScratchFolder.h"

#include "platform/runtime/Error.h"

#include <windows.h>

namespace arc::bench {
namespace {

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& prefix, const std::wstring& parent) {
    std::wstring base = parent;
    if (base.empty()) {
        wchar_t tmp[MAX_PATH];
        DWORD n = GetTempPathW(MAX_PATH, tmp);
        if (n == 0 || n >= MAX_PATH) throw RuntimeError(76, L"Path not found (temporary folder)");
        base.assign(tmp, n);
    }
    if (!base.empty() && base.back() != L'\\') base += L'\\';
    for (unsigned attempt = 0;; ++attempt) {
        path_ = base + prefix + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(attempt);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS || attempt > 1000)
            throw RuntimeError(76, L"Path not found (" + path_ + L")");
    }
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

}  // namespace arc::bench
