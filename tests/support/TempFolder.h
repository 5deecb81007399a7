#pragma once
// A fresh temporary folder for one test, removed with everything in it.
#include <string>

namespace arc::test {

class TempFolder {
public:
    // A new folder under the system's temporary folder. The suffix ends its
    // (otherwise unique) name, so that a test may give it a blank or letters
    // outside the code page. Throws when the folder cannot be made.
    explicit TempFolder(const std::wstring& suffix = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Removes a folder and everything below it.
void RemoveTree(const std::wstring& path);
// The whole content of a file as bytes ("" when missing).
std::string ReadBytes(const std::wstring& path);
// Replaces a file with the bytes; throws when it cannot be written, so that a
// test never goes on with a file it did not set up.
void WriteBytes(const std::wstring& path, const std::string& bytes);
// A drive letter that names no drive here, or "".
std::wstring AbsentDrive();

}  // namespace arc::test
