#pragma once
// A host environment for tests: a fixed clock, temporary folders, message
// boxes answered from a queue and recorded, process starts and shell calls
// recorded instead of made (unless asked to run for real), file dialogs
// answered from a queue and counted.
#include "platform/runtime/Host.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace arc::test {

struct ShownMessage {
    std::wstring text;
    UINT flags;
};

struct ShellCall {
    HWND owner = nullptr;
    std::string operation, file, parameters, directory;
    int showCommand = 0;
};

class TestHost : public Host {
public:
    explicit TestHost(std::wstring folder, const wchar_t* locale = L"en-US");

    std::wstring installFolder;
    std::wstring programFolder;
    SYSTEMTIME now{};
    bool realClock = false;              // Now() is the computer's clock instead of `now`
    arc::Regional regional;

    std::deque<int> answers;             // replies to message boxes, in order; IDOK/IDYES when empty
    std::vector<ShownMessage> messages;  // every message shown
    std::vector<std::wstring> started;   // programs started hidden
    bool startForReal = false;           // really start them (end-to-end tests)
    std::vector<ShellCall> shellCalls;
    std::deque<std::wstring> dialogAnswers;  // file-open dialog results; "" when empty
    int dialogsShown = 0;                    // file-open dialogs shown
    std::vector<std::wstring> dialogFolders; // the folder each dialog with a start folder opened in
    DWORD waited = 0;                        // milliseconds waited in total
    // Run inside the file dialog and inside the shell call, while the program
    // waits for them, to see what it shows at that moment.
    std::function<void()> duringDialog;
    std::function<void()> duringShellOpen;

    void SetNow(int y, int mo, int d, int h = 12, int mi = 0, int s = 0);

    std::wstring InstallFolder() override { return installFolder; }
    std::wstring ProgramFolder() override { return programFolder; }
    SYSTEMTIME Now() override;
    const arc::Regional& Regional() override { return regional; }
    int ShowMessage(HWND owner, const std::wstring& text, UINT flags) override;
    bool StartHidden(const std::wstring& path) override;
    void ShellOpen(HWND owner, const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override;
    std::wstring OpenFileDialog(HWND owner) override;
    std::wstring OpenFileDialogIn(HWND owner, const std::wstring& title, const std::wstring& folder,
                                  const std::wstring& filter) override;
    void Wait(DWORD milliseconds) override;
};

}  // namespace arc::test
