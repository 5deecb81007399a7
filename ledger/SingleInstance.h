#pragma once
// One Arcandora per ledger: a second start finds the first by a named mutex
// of the install folder, brings its window to the front (restored if it was
// minimised) and ends, instead of opening a second window on the same book.
#include <windows.h>

#include <string>

namespace arc {

class SingleInstance {
public:
    // Takes the install folder's mutex; Running() tells whether another
    // program already held it.
    explicit SingleInstance(const std::wstring& installFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool Running() const { return running_; }
    // Brings the running program's main window to the front, waiting a few
    // seconds for it while that program is still starting; false when no
    // window of it appeared.
    bool ActivateRunning(const wchar_t* windowClass) const;

private:
    HANDLE mutex_ = nullptr;
    bool running_ = false;
};

}  // namespace arc
