#include "FileBytes.h"

#include "platform/runtime/Error.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace arc::report {

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    auto fail = [&]() { return RuntimeError(kErrPathFileAccess, ErrorDescription(kErrPathFileAccess) + L": " + path); };
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw fail();
    std::unique_ptr<void, decltype(&CloseHandle)> file(h, &CloseHandle);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20)), written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            file.reset();
            DeleteFileW(path.c_str());
            throw fail();
        }
        done += written;
    }
    if (!CloseHandle(file.release())) throw fail();
}

}  // namespace arc::report
