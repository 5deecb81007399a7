// repair_click PROGRAM_FOLDER FILE [PROGRAM_FOLDER FILE ...]
// For each pair, opens Corvelan's window with the program folder given,
// answers its file dialog with the file and presses its button.  Prints one
// line per pair, tab-separated:
//   shell <operation> <file> <parameters> <directory> <show command>   (the batch was written and handed to the shell)
//   idle <status line>                                                 (the window stayed, nothing was started)
// then any message box as "message <text>" and "ended <0|1>".
#include "repair/Form1.h"

#include "support/TestHost.h"

#include "platform/runtime/Text.h"
#include "platform/window/Controls.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: repair_click PROGRAM_FOLDER FILE [PROGRAM_FOLDER FILE ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        arc::test::TestHost host(argv[i], L"es-ES");
        host.dialogAnswers.push_back(argv[i + 1]);
        bool ended = false;
        arc::repair::Form1 form(host, [&] { ended = true; });
        if (!form.Create()) return 1;
        using Id = arc::repair::Form1::Id;
        HWND status = form.Control(Id::Label2);
        SendMessageW(form.Control(Id::Command1), BM_CLICK, 0, 0);
        if (!host.shellCalls.empty()) {
            const auto& c = host.shellCalls.back();
            std::printf("shell\t%s\t%s\t%s\t%s\t%d\n", c.operation.c_str(), c.file.c_str(), c.parameters.c_str(),
                        c.directory.c_str(), c.showCommand);
        } else {
            std::printf("idle\t%s\n", arc::ToUtf8(arc::WindowText(status)).c_str());
        }
        for (const auto& m : host.messages) std::printf("message\t%s\n", arc::ToUtf8(m.text).c_str());
        std::printf("ended\t%d\n", ended ? 1 : 0);
        std::fflush(stdout);
    }
    return 0;
}
