// The button's click: pick a database, write REPARADOR.BAT, flash the status
// line, open the batch through the shell and end the program.
#include "DatabaseHealth.h"
#include "Form1.h"
#include "RepairBatch.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

namespace arc::repair {
namespace {

const wchar_t kPreparing[] = L"Preparando...";
const wchar_t kRepairing[] = L"Reparando...";
const wchar_t kDone[] = L"Listo el pollo...";
const wchar_t kNotADatabase[] = L"El archivo no es una base de datos";
const wchar_t kUnreadable[] = L"No se pudo leer el archivo";
const wchar_t kPathNotWritable[] = L"La ruta no se puede escribir en REPARADOR.BAT";
const wchar_t kOtherBD[] = L"Ya hay otro BD.db en la carpeta del archivo";

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The system's own description of an error code.
std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring s = text ? text : L"Path/File access error";
    if (text) LocalFree(text);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r')) s.pop_back();
    return s;
}

}  // namespace

void Form1::Command1_Click() {
    if (busy_) return;
    busy_ = true;

    // The status line shows, the user picks the file, Label1 shows it.
    SetCaption(L"Label2", kPreparing);
    ShowWindow(controls_->Get(L"Label2"), SW_SHOW);
    SetCaption(L"Label1", host_.OpenFileDialog(Hwnd()));

    // The batch takes the file back from Label1, as the user sees it.
    const std::wstring chosen = Caption(L"Label1");
    if (chosen.empty()) return BackToIdle(L"");

    DumpCommand command = DumpCommand::Dump;
    switch (CheckDatabase(chosen)) {
        case DatabaseHealth::Healthy:
            break;
        case DatabaseHealth::Damaged:
            command = DumpCommand::Recover;
            break;
        case DatabaseHealth::NotADatabase:
            return BackToIdle(kNotADatabase);
        case DatabaseHealth::Unreadable:
            return BackToIdle(kUnreadable);
    }

    // The last line builds "BD.db" in the file's folder.  Were another BD.db
    // there, the dump of the chosen file would be run into it and mix its rows
    // with that database's.
    const std::wstring workingFolder = WorkingFolderOf(chosen);
    const std::wstring newDatabase = FolderOf(chosen) + L"\\BD.db";
    if (!SameName(chosen.substr(chosen.find_last_of(L"\\/") + 1), L"BD.db") && FileExists(newDatabase))
        return BackToIdle(kOtherBD);

    const std::wstring programFolder = host_.ProgramFolder();
    auto file = AnsiSafePath(chosen);
    auto folder = AnsiSafePath(programFolder);
    auto directory = AnsiSafePath(workingFolder);
    if (!file || !folder || !directory) return BackToIdle(kPathNotWritable);

    // The batch, four lines in one write.
    if (!WriteAnsiLines(RepairBatchFile(*folder), RepairBatchLines(*folder, *file, command))) {
        // As the runtime reports it: 76 for a missing folder, 75 for any other refusal.
        const DWORD error = GetLastError();
        ShowRuntimeError(error == ERROR_PATH_NOT_FOUND ? kErrPathNotFound : 75, SystemErrorText(error));
        return EndProgram();
    }
    StartRepair(*folder, *directory);
}

void Form1::StartRepair(const std::wstring& batchFolder, const std::wstring& workingFolder) {
    // Show the choice, the hourglass and the first flashing.
    RepaintControl(L"Label1");
    RepaintWindow();
    SetMousePointer(kPointerHourglass);
    FlashStatusLine();

    // The shell runs the batch in the chosen file's folder, where the new
    // BD.db takes the place of the file set aside; nothing waits for it.
    host_.ShellOpen(Hwnd(), "Open", ToAnsi(RepairBatchFile(batchFolder)), "", ToAnsi(workingFolder), 1);

    RepaintWindow();
    SetCaption(L"Label2", kRepairing);
    RepaintControl(L"Label2");
    FlashStatusLine();
    SetCaption(L"Label2", kDone);
    SetMousePointer(kPointerDefault);

    EndProgram();
}

void Form1::BackToIdle(const std::wstring& status) {
    if (status.empty()) {
        ShowWindow(controls_->Get(L"Label2"), SW_HIDE);
    } else {
        SetCaption(L"Label2", status);
    }
    busy_ = false;
}

void Form1::FlashStatusLine() {
    // A busy loop of a fixed number of passes: one red-and-blue flash every
    // five passes, no other event handled meanwhile, the label left blue.
    int counter = 0;
    for (int pass = 1; pass <= kFlashPasses; ++pass) {
        ++counter;
        if (counter == 1) {
            RepaintWindow();
            SetStatusBackColour(kStatusRed);
            RepaintControl(L"Label2");
        }
        if (counter == 5) {
            RepaintWindow();
            counter = 0;
            SetStatusBackColour(kStatusBlue);
            RepaintControl(L"Label2");
        }
    }
}

}  // namespace arc::repair
