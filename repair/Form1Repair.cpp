// The button's click: pick a database, write REPARADOR.BAT, flash the status
// line, open the batch through the shell and end the program.
#include "DatabaseHealth.h"
#include "FileAccess.h"
#include "Form1.h"
#include "RepairBatch.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

namespace arc::repair {
namespace {

const wchar_t kPreparing[] = L"Preparando...";
const wchar_t kRepairing[] = L"Reparando...";
const wchar_t kDone[] = L"Listo el pollo...";
const wchar_t kNotADatabase[] = L"El archivo no es una base de datos";
const wchar_t kNotALedger[] = L"El archivo no es un libro de caja: no tiene la tabla FINANZAS";
const wchar_t kUnreadable[] = L"No se pudo leer el archivo";
const wchar_t kPathNotWritable[] = L"La ruta no se puede escribir en REPARADOR.BAT";
const wchar_t kOtherBD[] = L"Ya hay otro BD.db en la carpeta del archivo";
const wchar_t kNoShell[] = L"Falta sqlite3.exe junto a Corvelan: no se puede reparar";
const wchar_t kInUse[] = L"El archivo está abierto en otro programa: ciérrelo y vuelva a probar";
const wchar_t kFolderReadOnly[] = L"No se puede escribir en la carpeta del archivo";
// The reason in the few words the status line holds.
const wchar_t kNetwork[] = L"El intérprete de órdenes no trabaja en rutas \\\\equipo\\...: use una letra de unidad";

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

void Form1::Command1_Click() {
    if (busy_) return;
    busy_ = true;

    // The status line shows, the user picks the file, Label1 shows it.
    SetText(Id::Label2, kPreparing);
    ShowWindow(Control(Id::Label2), SW_SHOW);
    SetText(Id::Label1, host_.OpenFileDialog(Hwnd()));

    // The batch takes the file back from Label1, as the user sees it.
    const std::wstring chosen = Text(Id::Label1);
    if (chosen.empty()) return BackToIdle(L"");

    // Everything the batch needs is checked before anything is written, so
    // that a refusal leaves the disk as it was.  A UNC path first: the
    // command interpreter cannot work there, and nothing should wait on it.
    if (IsUncPath(chosen)) return BackToIdle(kNetwork);
    const std::wstring programFolder = host_.ProgramFolder();
    if (!FileExists(programFolder + L"\\sqlite3.exe")) return BackToIdle(kNoShell);
    // The ledger keeps its database open while it runs; a file held open
    // cannot be set aside, and its content may still change.
    if (InUseByAnotherProgram(chosen)) return BackToIdle(kInUse);

    const LedgerCheck check = CheckLedger(chosen);
    switch (check.health) {
        case DatabaseHealth::Healthy:
        case DatabaseHealth::Damaged:
            break;
        case DatabaseHealth::NotALedger:
            return BackToIdle(kNotALedger);
        case DatabaseHealth::NotADatabase:
            return BackToIdle(kNotADatabase);
        case DatabaseHealth::Unreadable:
            return BackToIdle(kUnreadable);
    }

    // The new database is named "BD.db" in the file's folder.  Were another
    // BD.db there (or the journal of one, which SQLite would roll back into
    // the new file), it would be in the way.
    const std::wstring folderOfFile = FolderOf(chosen);
    const std::wstring newDatabase = folderOfFile + L"\\BD.db";
    if (!SameName(chosen.substr(chosen.find_last_of(L"\\/") + 1), L"BD.db") &&
        (FileExists(newDatabase) || FileExists(JournalOf(newDatabase))))
        return BackToIdle(kOtherBD);
    if (!FolderWritable(folderOfFile)) return BackToIdle(kFolderReadOnly);

    auto file = BatchSafePath(chosen);
    auto folder = BatchSafePath(programFolder);
    auto directory = BatchSafePath(WorkingFolderOf(chosen));
    if (!file || !folder || !directory) return BackToIdle(kPathNotWritable);

    RepairPlan plan;
    plan.programFolder = *folder;
    plan.chosenFile = *file;
    plan.command = check.health == DatabaseHealth::Damaged ? DumpCommand::Recover : DumpCommand::Dump;
    plan.hotJournal = check.hotJournal;
    plan.rowsBefore = check.rows;
    plan.historyBefore = check.historyRows;
    plan.historyUncounted = check.historyUncounted;
    plan.moment = FormatDate(FromSystemTime(host_.Now()), L"yyyy-mm-dd hh:nn:ss", host_.Regional());
    // A file set aside by an earlier repair stays; this one takes the next name.
    plan.setAsideName = FreeSetAsideName(folderOfFile);

    // The batch, in one write, in the code page the interpreter reads it in.
    if (!WriteOemLines(RepairBatchFile(*folder), RepairBatchLines(plan))) {
        // As the runtime reports it: 76 for a missing folder, 75 for any other
        // refusal; the window's barrier shows it and ends the program.
        throw RuntimeError(GetLastError() == ERROR_PATH_NOT_FOUND ? kErrPathNotFound : kErrPathFileAccess);
    }
    StartRepair(*folder, *directory);
}

void Form1::StartRepair(const std::wstring& batchFolder, const std::wstring& workingFolder) {
    // Show the choice, the hourglass and the first flashing.
    Refresh(Id::Label1);
    Refresh();
    SetMousePointer(MousePointer::Hourglass);
    FlashStatusLine();

    // The shell runs the batch in the chosen file's folder, where the new
    // BD.db takes the place of the file set aside; nothing waits for it.
    host_.ShellOpen(Hwnd(), "Open", ToAnsi(RepairBatchFile(batchFolder)), "", ToAnsi(workingFolder), 1);

    Refresh();
    SetText(Id::Label2, kRepairing);
    Refresh(Id::Label2);
    FlashStatusLine();
    SetText(Id::Label2, kDone);
    SetMousePointer(MousePointer::Default);

    EndProgram();
}

void Form1::BackToIdle(const std::wstring& status) {
    if (status.empty()) {
        ShowWindow(Control(Id::Label2), SW_HIDE);
    } else {
        SetText(Id::Label2, status);
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
            Refresh();
            SetBackColour(Id::Label2, kStatusRed);
            Refresh(Id::Label2);
        }
        if (counter == 5) {
            Refresh();
            counter = 0;
            SetBackColour(Id::Label2, kStatusBlue);
            Refresh(Id::Label2);
        }
    }
}

}  // namespace arc::repair
