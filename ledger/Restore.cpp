// "Restaurar una copia de seguridad...", on the window's system menu: the
// user picks a copy in the backup folder; it is checked read-only and
// described; on Yes the ledger as it stands is first saved to the backup
// folder under a stamped name ending "-ANTES-DE-RESTAURAR.DB", then replaced
// by the copy through SQLite's online backup API, in one transaction, and
// the day view shows the restored ledger.  On No, on a file that is no
// ledger copy, or on any failure, the ledger is left as it was and the user
// is told why.
#include "Backup.h"
#include "Form1.h"
#include "History.h"
#include "LedgerCopy.h"

#include "platform/data/OnlineBackup.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
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

// "Tiene 3 movimientos; el último, del <long date>, deja un fondo de 1.130,65."
std::wstring Described(const LedgerCopy& copy, const Regional& regional) {
    if (copy.rows == 0) return L"No tiene movimientos.";
    std::wstring text = L"Tiene " + FormatNumber(static_cast<double>(copy.rows), L"#,##0", regional) +
                        (copy.rows == 1 ? L" movimiento" : L" movimientos");
    auto date = ParseDate(copy.lastDate, regional);
    text += L"; el último, del " + (date ? LongDate(*date, regional) : copy.lastDate) + L", deja un fondo de " +
            FormatNumber(copy.lastBalance.value_or(0), L"#,##0.00", regional) + L".";
    return text;
}

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

void Form1::RESTAURAR() {
    const std::wstring live = host_.InstallFolder() + L"\\BD.db";
    const std::wstring drive = Text(Id::Text4);
    const BackupPlaces places = PlacesFor(host_.InstallFolder(), drive);
    const std::wstring chosen =
        host_.OpenFileDialogIn(Hwnd(), L"Restaurar una copia de seguridad",
                               !drive.empty() && FolderExists(places.folder) ? places.folder : L"",
                               L"Copias de seguridad (*.DB)|*.DB|Todos los archivos (*.*)|*.*");
    if (chosen.empty()) return;
    if (SamePath(chosen, live)) {
        host_.ShowMessage(Hwnd(), L"El archivo elegido es la base de datos en uso, no una copia de seguridad." +
                                      std::wstring(kNothingChanged), MB_OK);
        return;
    }

    const LedgerCopy copy = [&] {
        Hourglass wait(*this);
        return InspectLedgerCopy(chosen);
    }();
    if (copy.verdict != LedgerCopy::Verdict::Ok) {
        host_.ShowMessage(Hwnd(), L"El archivo " + chosen + L" " + VerdictText(copy.verdict) +
                                      L": no es una copia de seguridad que se pueda restaurar." + kNothingChanged,
                          MB_OK);
        return;
    }

    // The ledger as it stands goes to the backup folder; with no drive
    // configured, beside the chosen copy.
    const std::wstring folder = drive.empty() ? FolderOf(FullPath(chosen)) : places.folder;
    const std::wstring question = L"¿Restaurar la copia de seguridad " + NameOf(chosen) + L"?\r\n\r\n" +
                                  Described(copy, host_.Regional()) +
                                  L"\r\n\r\nAntes se guardará la base de datos actual en " + folder +
                                  L", y después se reemplazará por esta copia.";
    if (host_.ShowMessage(Hwnd(), question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    // The hourglass while the copy is made; it goes whatever fails.
    const std::wstring outcome = [&]() -> std::wstring {
        Hourglass wait(*this);
        if (!drive.empty()) CreateDirectoryW(folder.c_str(), nullptr);
        const auto before = SaveCopyUnderFreeStamp(host_, live, folder, kBeforeRestoring);
        if (!before)
            return L"No se pudo guardar la base de datos actual en " + folder + L", así que la copia no se ha restaurado." +
                   kNothingChanged;
        try {
            // Into the program's own connection, so that no connection of the
            // program holds an older view of the file it replaces.
            db_.CONEXION();
            data::CopyDatabase(chosen, *db_.Connection(), 1000);
        } catch (const RuntimeError& e) {
            DeleteFileW(before->c_str());
            return L"No se pudo restaurar la copia: " + e.Description() + L"." + kNothingChanged;
        }
        // The restored book's history (or a new one, for a copy made before
        // there was history) says it was restored, from which copy, and where
        // the book it replaced was kept.  The restore itself stands even if
        // this cannot be written.
        try {
            db_.CONEXION();
            data::Transaction transaction(db_.Connection());
            History::RecordBookEvent(db_, operacion::kRestauracion, History::Moment(host_.Now()), L"", L"",
                                     L"COPIA=" + NameOf(chosen) + L";ANTERIOR=" + NameOf(*before) +
                                         L";FILAS=" + std::to_wstring(copy.rows));
            transaction.Commit();
        } catch (const RuntimeError&) {
        }
        // The row chosen for modification may not exist in the restored ledger.
        EntryReset();
        const std::wstring done = L"Se restauró la copia " + NameOf(chosen) +
                                  L".\r\n\r\nLa base de datos anterior quedó guardada en " + *before + L".";
        // The copy is in place whatever the refresh does.
        try {
            MOSTRAR();
        } catch (...) {
            return done + L"\r\n\r\nLa lista del día no se pudo actualizar; ciérrela y vuelva a abrir Arcandora "
                          L"para verla.\r\n\r\n" + RuntimeErrorText(CurrentError());
        }
        return done;
    }();
    host_.ShowMessage(Hwnd(), outcome, MB_OK);
}

}  // namespace arc
