#include "Journal.h"

#include "platform/runtime/Text.h"

namespace arc::campaign {

Journal::Journal(const std::wstring& path) {
    // Appending only: every write lands at the end, whatever came before.
    file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
}

Journal::~Journal() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Journal::Write(const std::wstring& line) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    // The system has the bytes once WriteFile returns: a killed process
    // loses none of them (only the machine's own crash could).
    const std::string bytes = ToUtf8(line) + "\n";
    DWORD written = 0;
    WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace arc::campaign
