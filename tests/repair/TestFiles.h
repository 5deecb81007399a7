#pragma once
// Files for Corvelan's tests: a temporary folder removed with its contents,
// whole-file reads and writes, and ledger databases made with the ledger's
// own table statement.
#include <string>

namespace arc::repair::test {

// The ledger's table, exactly as the ledger creates it.
extern const char kLedgerTable[];

class TempFolder {
public:
    // A new folder under the system's temporary folder; name is appended to
    // its (unique) name, so that it may hold a blank.
    explicit TempFolder(const std::wstring& name = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// A ledger database with rows 1..rows, every deleteEvery-th row deleted again
// (0: none), so that the file has free pages.
void MakeLedger(const std::wstring& path, int rows, int deleteEvery = 0);
// Overwrites whole pages (4096 bytes, counted from 1) with text.
void DamagePages(const std::wstring& path, std::initializer_list<int> pages);

}  // namespace arc::repair::test
