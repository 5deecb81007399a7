#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the benchmark is done with it.
#include <string>

namespace arc::bench {

class ScratchFolder {
public:
    // A new folder inside parent (the temporary folder when empty).
    explicit ScratchFolder(const std::wstring& prefix, const std::wstring& parent = L"");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace arc::bench
