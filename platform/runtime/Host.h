#pragma once
// The host environment: everything through which the programs touch the
// outside world.  Each window receives one when it is created; production
// passes SystemHost, tests pass their own (fixed clock, temporary folders,
// message boxes answered by the test).
#include "Regional.h"

#include <windows.h>

#include <string>

namespace arc {

class Host {
public:
    virtual ~Host() = default;

    // The fixed install folder (C:\ARCANDORA in production), without a final backslash.
    virtual std::wstring InstallFolder() = 0;
    // The folder of the running program file, without a final backslash.
    virtual std::wstring ProgramFolder() = 0;
    // Local date and time.
    virtual SYSTEMTIME Now() = 0;
    // The regional settings to format and parse with.
    virtual const Regional& Regional() = 0;

    // A message box titled with the application's title; returns IDOK, IDYES, IDNO...
    virtual int ShowMessage(HWND owner, const std::wstring& text, UINT flags) = 0;

    // Starts a program (a batch file by its path alone) with its window
    // hidden, without waiting; the process handles are closed at once.  The
    // program inherits the handles made inheritable (the backup's life file).
    virtual bool StartHidden(const std::wstring& path) = 0;

    // The shell's open operation, ShellExecuteA bound at run time.
    virtual void ShellOpen(HWND owner, const std::string& operation, const std::string& file,
                           const std::string& parameters, const std::string& directory, int showCommand) = 0;

    // The file-open dialog without title, filter or start folder: the chosen
    // full path, or "" when the user closed it without choosing.
    virtual std::wstring OpenFileDialog(HWND owner) = 0;
    // The file-open dialog with a title, opening in a folder, offering the
    // files of a filter written as "description|pattern" pairs joined by '|'
    // ("Copias (*.DB)|*.DB|Todos los archivos (*.*)|*.*"): the chosen full
    // path of an existing file, or "" when the user closed it without choosing.
    virtual std::wstring OpenFileDialogIn(HWND owner, const std::wstring& title, const std::wstring& folder,
                                          const std::wstring& filter) = 0;

    // Waits about this many milliseconds while processing the thread's messages.
    virtual void Wait(DWORD milliseconds) = 0;
};

}  // namespace arc
