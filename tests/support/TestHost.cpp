#include "TestHost.h"

#include "platform/runtime/SystemHost.h"

namespace arc::test {

TestHost::TestHost(std::wstring folder, const wchar_t* locale)
    : installFolder(folder), programFolder(folder), regional(RegionalFor(locale)) {
    SetNow(2026, 12, 7);
}

void TestHost::SetNow(int y, int mo, int d, int h, int mi, int s) {
    now = SYSTEMTIME{};
    now.wYear = static_cast<WORD>(y);
    now.wMonth = static_cast<WORD>(mo);
    now.wDay = static_cast<WORD>(d);
    now.wHour = static_cast<WORD>(h);
    now.wMinute = static_cast<WORD>(mi);
    now.wSecond = static_cast<WORD>(s);
}

int TestHost::ShowMessage(HWND, const std::wstring& text, UINT flags) {
    messages.push_back({text, flags});
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    return (flags & MB_YESNO) ? IDYES : IDOK;
}

bool TestHost::StartHidden(const std::wstring& path) {
    started.push_back(path);
    if (!startForReal) return true;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = path;
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void TestHost::ShellOpen(HWND, const std::string& operation, const std::string& file, const std::string& parameters,
                         const std::string& directory, int showCommand) {
    shellCalls.push_back({operation, file, parameters, directory, showCommand});
}

std::wstring TestHost::OpenFileDialog(HWND) {
    if (dialogAnswers.empty()) return L"";
    std::wstring a = dialogAnswers.front();
    dialogAnswers.pop_front();
    return a;
}

void TestHost::Wait(DWORD milliseconds) {
    waited += milliseconds;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpPendingMessages();
        Sleep(10);
    }
}

}  // namespace arc::test
