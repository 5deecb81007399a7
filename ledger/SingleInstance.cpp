#include "SingleInstance.h"

#include <cwctype>

namespace arc {

SingleInstance::SingleInstance(const std::wstring& installFolder) {
    // The mutex's name holds the folder in upper case, without the
    // backslashes a kernel object name cannot hold.
    std::wstring name = L"Local\\Arcandora-";
    for (wchar_t c : installFolder) name += c == L'\\' ? L'/' : static_cast<wchar_t>(towupper(c));
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    running_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
    if (mutex_) CloseHandle(mutex_);
}

bool SingleInstance::ActivateRunning(const wchar_t* windowClass) const {
    for (int tries = 0; tries < 50; ++tries) {
        if (HWND window = FindWindowW(windowClass, nullptr)) {
            // A notice of the running program (a modal one) is what should
            // come forward; otherwise its window.
            HWND front = GetLastActivePopup(window);
            if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
            SetForegroundWindow(front ? front : window);
            return true;
        }
        Sleep(100);
    }
    return false;
}

}  // namespace arc
