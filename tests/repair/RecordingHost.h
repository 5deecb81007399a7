#pragma once
// A host environment for Corvelan's tests: the file dialog answers with a
// path the test chose, the program folder is a test folder, and the shell
// call and message boxes are recorded instead of carried out.
#include "platform/runtime/Host.h"

#include <functional>
#include <string>
#include <vector>

namespace arc::repair::test {

struct ShellCall {
    HWND owner = nullptr;
    std::string operation, file, parameters, directory;
    int showCommand = 0;
};

class RecordingHost : public Host {
public:
    std::wstring programFolder;
    std::wstring dialogAnswer;
    std::vector<ShellCall> shellCalls;
    std::vector<std::wstring> messages;
    int dialogsShown = 0;
    // Run inside the dialog and the shell call, while the program waits for them.
    std::function<void()> duringDialog;
    std::function<void()> duringShellOpen;

    std::wstring InstallFolder() override { return L"C:\\ARCANDORA"; }
    std::wstring ProgramFolder() override { return programFolder; }
    SYSTEMTIME Now() override;
    const arc::Regional& Regional() override;
    int ShowMessage(HWND owner, const std::wstring& text, UINT flags) override;
    bool StartHidden(const std::wstring& path) override { return false; }
    void ShellOpen(HWND owner, const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override;
    std::wstring OpenFileDialog(HWND owner) override;
    void Wait(DWORD milliseconds) override {}
};

}  // namespace arc::repair::test
