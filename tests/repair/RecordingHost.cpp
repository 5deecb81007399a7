#include "RecordingHost.h"

namespace arc::repair::test {

SYSTEMTIME RecordingHost::Now() {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDay = 5;
    return t;
}

const arc::Regional& RecordingHost::Regional() {
    static const arc::Regional regional = RegionalFor(L"es-ES");
    return regional;
}

int RecordingHost::ShowMessage(HWND, const std::wstring& text, UINT) {
    messages.push_back(text);
    return IDOK;
}

void RecordingHost::ShellOpen(HWND owner, const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory, int showCommand) {
    shellCalls.push_back({owner, operation, file, parameters, directory, showCommand});
    if (duringShellOpen) duringShellOpen();
}

std::wstring RecordingHost::OpenFileDialog(HWND) {
    ++dialogsShown;
    if (duringDialog) duringDialog();
    return dialogAnswer;
}

}  // namespace arc::repair::test
