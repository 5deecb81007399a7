#include "ScratchFolder.h"

#include "platform/runtime/Error.h"
#include "support/TempFolder.h"

#include <windows.h>

namespace arc::bench {

ScratchFolder::ScratchFolder(const std::wstring& prefix, const std::wstring& parent) {
    std::wstring base = parent;
    if (base.empty()) {
        wchar_t tmp[MAX_PATH];
        DWORD n = GetTempPathW(MAX_PATH, tmp);
        if (n == 0 || n >= MAX_PATH) throw RuntimeError(kErrPathNotFound, L"Path not found (temporary folder)");
        base.assign(tmp, n);
    }
    if (!base.empty() && base.back() != L'\\') base += L'\\';
    for (unsigned attempt = 0;; ++attempt) {
        path_ = base + prefix + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(attempt);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS || attempt > 1000)
            throw RuntimeError(kErrPathNotFound, L"Path not found (" + path_ + L")");
    }
}

ScratchFolder::~ScratchFolder() { test::RemoveTree(path_); }

}  // namespace arc::bench
