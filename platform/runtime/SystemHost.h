#pragma once
// The production host environment: the real clock, folders, message boxes,
// process start, shell and file dialog.
#include "Host.h"

namespace arc {

class SystemHost : public Host {
public:
    // title: the application's title shown on message boxes ("ARCANDORA").
    SystemHost(std::wstring title, std::wstring installFolder);

    std::wstring InstallFolder() override;
    std::wstring ProgramFolder() override;
    SYSTEMTIME Now() override;
    const arc::Regional& Regional() override;
    int ShowMessage(HWND owner, const std::wstring& text, UINT flags) override;
    bool StartHidden(const std::wstring& path) override;
    void ShellOpen(HWND owner, const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override;
    std::wstring OpenFileDialog(HWND owner) override;
    std::wstring OpenFileDialogIn(HWND owner, const std::wstring& title, const std::wstring& folder,
                                  const std::wstring& filter) override;
    void Wait(DWORD milliseconds) override;

private:
    std::wstring title_;
    std::wstring installFolder_;
    arc::Regional regional_;
};

// Folder of a path (everything before the last backslash).
std::wstring FolderOf(const std::wstring& path);
// Processes every message waiting in this thread's queue.
void PumpPendingMessages();

}  // namespace arc
