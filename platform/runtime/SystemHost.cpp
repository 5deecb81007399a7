#include "SystemHost.h"

#include <commdlg.h>

#include <vector>

namespace arc {

std::wstring FolderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

SystemHost::SystemHost(std::wstring title, std::wstring installFolder)
    : title_(std::move(title)), installFolder_(std::move(installFolder)), regional_(SystemRegional()) {}

std::wstring SystemHost::InstallFolder() { return installFolder_; }

std::wstring SystemHost::ProgramFolder() {
    std::vector<wchar_t> buf(MAX_PATH);
    while (true) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) return FolderOf(std::wstring(buf.data(), n));
        buf.resize(buf.size() * 2);
    }
}

SYSTEMTIME SystemHost::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

const arc::Regional& SystemHost::Regional() { return regional_; }

int SystemHost::ShowMessage(HWND owner, const std::wstring& text, UINT flags) {
    return MessageBoxW(owner, text.c_str(), title_.c_str(), flags);
}

bool SystemHost::StartHidden(const std::wstring& path) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = path;  // CreateProcessW may write into the command line
    // Only handles made inheritable pass: the programs make none but the
    // backup's life file, which the batch holds for as long as it runs.
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

void SystemHost::ShellOpen(HWND owner, const std::string& operation, const std::string& file,
                           const std::string& parameters, const std::string& directory, int showCommand) {
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell) return;
    auto fn = reinterpret_cast<ShellExecuteAFn>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    if (fn) fn(owner, operation.c_str(), file.c_str(), parameters.c_str(), directory.c_str(), showCommand);
}

namespace {

// The common dialog's file-open box; empty title, folder or filter leave the
// dialog's own defaults.
std::wstring ChooseFile(HWND owner, const std::wstring& title, const std::wstring& folder, const std::wstring& filter,
                        DWORD flags) {
    std::vector<wchar_t> file(32768, L'\0');
    // The dialog wants the filter's pieces each ended by a NUL, the whole by two.
    std::wstring pairs = filter;
    for (auto& c : pairs)
        if (c == L'|') c = L'\0';
    pairs += L'\0';
    pairs += L'\0';
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    if (!filter.empty()) ofn.lpstrFilter = pairs.c_str();
    if (!title.empty()) ofn.lpstrTitle = title.c_str();
    if (!folder.empty()) ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_EXPLORER | flags;
    if (!GetOpenFileNameW(&ofn)) return L"";
    return file.data();
}

}  // namespace

std::wstring SystemHost::OpenFileDialog(HWND owner) { return ChooseFile(owner, L"", L"", L"", 0); }

std::wstring SystemHost::OpenFileDialogIn(HWND owner, const std::wstring& title, const std::wstring& folder,
                                          const std::wstring& filter) {
    return ChooseFile(owner, title, folder, filter, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
}

void SystemHost::Wait(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    PumpPendingMessages();
}

}  // namespace arc
