// "Restaurar una copia de seguridad...", on the window's system menu: the
// user picks a copy in the backup folder; it is checked read-only and
// described; on Yes the ledger as it stands is first saved to the backup
// folder under a stamped name ending "-ANTES-DE-RESTAURAR.DB", then replaced
// by the copy through SQLite's online backup API, in one transaction, and
// the day view shows the restored ledger.  On No, on a file that is no
// ledger copy, or on any failure, the ledger is left as it was and the user
// is told why.  The start offers the same in place of a ledger that a repair
// left set aside (SetAsideLedger.h), when there may be no BD.db to keep.
#include "Backup.h"
#include "Form1.h"
#include "History.h"
#include "LedgerCopy.h"

#include "platform/data/OnlineBackup.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/TextFile.h"

namespace arc {
namespace {

const wchar_t kBeforeRestoring[] = L"-ANTES-DE-RESTAURAR.DB";
const wchar_t kNothingChanged[] = L"\r\n\r\nNo se ha cambiado nada.";

std::wstring FullPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, buf, nullptr);
    return n && n < MAX_PATH ? std::wstring(buf, n) : path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = FullPath(a), y = FullPath(b);
    return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

void Form1::ConnectRestore() {
    // The restore lives on the system menu, leaving the designed layout as it is.
    OnMessage(WM_CREATE, [this](WPARAM, LPARAM) -> Reply {
        HMENU menu = GetSystemMenu(Hwnd(), FALSE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kRestoreCommand, L"Restaurar una copia de seguridad...");
        return {};
    });
    OnMessage(WM_SYSCOMMAND, [this](WPARAM command, LPARAM) -> Reply {
        if ((command & 0xFFF0) != kRestoreCommand) return {};
        RESTAURAR();
        return 0;
    });
}

void Form1::RESTAURAR() { RestoreACopy(true); }

bool Form1::RestoreACopy(bool refresh) {
    const std::wstring live = host_.InstallFolder() + L"\\BD.db";
    const std::wstring drive = Text(Id::Text4);
    const BackupPlaces places = PlacesFor(host_.InstallFolder(), drive);
    const std::wstring chosen =
        host_.OpenFileDialogIn(Hwnd(), L"Restaurar una copia de seguridad",
                               !drive.empty() && FolderExists(places.folder) ? places.folder : L"",
                               L"Copias de seguridad (*.DB)|*.DB|Todos los archivos (*.*)|*.*");
    if (chosen.empty()) return false;
    if (SamePath(chosen, live)) {
        host_.ShowMessage(Hwnd(), L"El archivo elegido es la base de datos en uso, no una copia de seguridad." +
                                      std::wstring(kNothingChanged), MB_OK);
        return false;
    }

    const LedgerCopy copy = [&] {
        Hourglass wait(*this);
        return InspectLedgerCopy(chosen);
    }();
    if (copy.verdict != LedgerCopy::Verdict::Ok) {
        host_.ShowMessage(Hwnd(), L"El archivo " + chosen + L" " + VerdictText(copy.verdict) +
                                      L": no es una copia de seguridad que se pueda restaurar." + kNothingChanged,
                          MB_OK);
        return false;
    }

    // The ledger as it stands goes to the backup folder; with no drive
    // configured, beside the chosen copy.  A start that found no BD.db has
    // none to keep.
    const bool replacing = FileExists(live);
    const std::wstring folder = drive.empty() ? FolderOf(FullPath(chosen)) : places.folder;
    const std::wstring question = L"¿Restaurar la copia de seguridad " + NameOf(chosen) + L"?\r\n\r\n" +
                                  DescribeLedgerCopy(copy, host_.Regional()) + L"\r\n\r\n" +
                                  (replacing ? L"Antes se guardará la base de datos actual en " + folder +
                                                   L", y después se reemplazará por esta copia."
                                             : L"La copia pasará a ser " + live + L".");
    if (host_.ShowMessage(Hwnd(), question, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;

    // The hourglass while the copy is made; it goes whatever fails.
    bool restored = false;
    const std::wstring outcome = [&]() -> std::wstring {
        Hourglass wait(*this);
        std::optional<std::wstring> before;
        if (replacing) {
            if (!drive.empty()) CreateDirectoryW(folder.c_str(), nullptr);
            before = SaveCopyUnderFreeStamp(host_, live, folder, kBeforeRestoring);
            if (!before)
                return L"No se pudo guardar la base de datos actual en " + folder +
                       L", así que la copia no se ha restaurado." + kNothingChanged;
        }
        try {
            // Into the program's own connection, so that no connection of the
            // program holds an older view of the file it replaces.
            db_.CONEXION();
            data::CopyDatabase(chosen, *db_.Connection(), 1000);
        } catch (const RuntimeError& e) {
            if (before) DeleteFileW(before->c_str());
            return L"No se pudo restaurar la copia: " + e.Description() + L"." + kNothingChanged;
        }
        restored = true;
        // The restored book's history (or a new one, for a copy made before
        // there was history) says it was restored, from which copy, and where
        // the book it replaced was kept.  The restore itself stands even if
        // this cannot be written.
        try {
            db_.CONEXION();
            data::Transaction transaction(db_.Connection());
            History::RecordBookEvent(db_, operacion::kRestauracion, History::Moment(host_.Now()), L"", L"",
                                     L"COPIA=" + NameOf(chosen) + (before ? L";ANTERIOR=" + NameOf(*before) : L"") +
                                         L";FILAS=" + std::to_wstring(copy.rows));
            transaction.Commit();
        } catch (const RuntimeError&) {
        }
        const std::wstring done = L"Se restauró la copia " + NameOf(chosen) + L"." +
                                  (before ? L"\r\n\r\nLa base de datos anterior quedó guardada en " + *before + L"."
                                          : L"");
        if (refresh) {
            // The row chosen for modification may not exist in the restored ledger.
            EntryReset();
            // The copy is in place whatever the refresh does.
            try {
                MOSTRAR();
            } catch (...) {
                return done + L"\r\n\r\nLa lista del día no se pudo actualizar; cierre Arcandora y vuelva a "
                              L"abrirlo para verla.\r\n\r\n" + RuntimeErrorText(CurrentError());
            }
        }
        return done;
    }();
    host_.ShowMessage(Hwnd(), outcome, MB_OK);
    return restored;
}

}  // namespace arc
