#include "TestHost.h"

#include "platform/runtime/SystemHost.h"

namespace arc::test {
namespace {

// What is done for real (a hidden process start, a wait that keeps the
// windows answering) is done by the production host itself.
SystemHost& RealHost() {
    static SystemHost host(L"", L"");
    return host;
}

}  // namespace

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

SYSTEMTIME TestHost::Now() {
    if (!realClock) return now;
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
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
    return !startForReal || RealHost().StartHidden(path);
}

void TestHost::ShellOpen(HWND owner, const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& directory, int showCommand) {
    shellCalls.push_back({owner, operation, file, parameters, directory, showCommand});
    if (duringShellOpen) duringShellOpen();
}

std::wstring TestHost::OpenFileDialog(HWND) {
    ++dialogsShown;
    if (duringDialog) duringDialog();
    if (dialogAnswers.empty()) return L"";
    std::wstring a = dialogAnswers.front();
    dialogAnswers.pop_front();
    return a;
}

std::wstring TestHost::OpenFileDialogIn(HWND owner, const std::wstring&, const std::wstring& folder,
                                        const std::wstring&) {
    dialogFolders.push_back(folder);
    return OpenFileDialog(owner);
}

void TestHost::Wait(DWORD milliseconds) {
    waited += milliseconds;
    RealHost().Wait(milliseconds);
}

}  // namespace arc::test
