#include "SetAsideLedger.h"

#include "Backup.h"
#include "Form1.h"

#include "platform/data/Connection.h"
#include "platform/data/Statement.h"
#include "platform/runtime/FolderFiles.h"
#include "platform/runtime/TextFile.h"

#include <cwctype>

namespace arc {
namespace {

const wchar_t kSetAside[] = L"BD.DB.anterior";

// When a file was last written, and when it last changed place or name (a
// rename sets this one, not the other).  0 when unknown.
struct FileTimes {
    std::wstring name;
    ULONGLONG written = 0, changed = 0;
};

FileTimes TimesOf(const std::wstring& folder, const std::wstring& name) {
    FileTimes t{name};
    HANDLE h = CreateFileW((folder + name).c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return t;
    FILE_BASIC_INFO info{};
    if (GetFileInformationByHandleEx(h, FileBasicInfo, &info, sizeof info)) {
        t.written = static_cast<ULONGLONG>(info.LastWriteTime.QuadPart);
        t.changed = static_cast<ULONGLONG>(info.ChangeTime.QuadPart);
    }
    CloseHandle(h);
    return t;
}

// "BD.DB.anterior" or "BD.DB.anterior.<n>", in any case: not a journal.
bool IsSetAsideName(const std::wstring& name) {
    const size_t n = std::size(kSetAside) - 1;
    if (name.size() < n || CompareStringOrdinal(name.c_str(), static_cast<int>(n), kSetAside, static_cast<int>(n), TRUE) !=
                               CSTR_EQUAL)
        return false;
    if (name.size() == n) return true;
    if (name[n] != L'.' || name.size() == n + 1) return false;
    for (size_t i = n + 1; i < name.size(); ++i)
        if (!std::iswdigit(name[i])) return false;
    return true;
}

// Of the files of the folder (its path ending in \) that match the pattern
// (and the test), the one whose time (the key) is the latest; nullopt when
// there is none.
template <typename Key>
std::optional<FileTimes> Newest(const std::wstring& folder, const wchar_t* pattern, bool (*accept)(const std::wstring&),
                                Key key) {
    std::optional<FileTimes> newest;
    for (const auto& name : FileNamesIn(folder.substr(0, folder.size() - 1), pattern)) {
        if (accept && !accept(name)) continue;
        FileTimes t = TimesOf(folder, name);
        if (!newest || key(t) > key(*newest)) newest = t;
    }
    return newest;
}

enum class LedgerState { Missing, Empty, Holding };

// Whether BD.db holds a movement.  A file that cannot be read here counts as
// holding one: the start's own open says what is wrong with it.
LedgerState StateOf(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return LedgerState::Missing;
    if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) return LedgerState::Empty;
    try {
        auto connection = data::Connection::OpenReadOnly(file, 1000);
        sqlite3* handle = connection->Handle();
        if (!data::HasTable(handle, "FINANZAS") ||
            data::QueryInteger(handle, "SELECT EXISTS (SELECT 1 FROM FINANZAS)") == 0)
            return LedgerState::Empty;
    } catch (const RuntimeError&) {
    }
    return LedgerState::Holding;
}

bool MoveWithJournal(const std::wstring& from, const std::wstring& to) {
    if (!MoveFileW(from.c_str(), to.c_str())) return false;
    const std::wstring journal = from + L"-journal";
    if (FileExists(journal) && !MoveFileW(journal.c_str(), (to + L"-journal").c_str())) {
        MoveFileW(to.c_str(), from.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::optional<SetAsideLedger> FindSetAsideLedger(const std::wstring& installFolder) {
    const std::wstring folder = installFolder + L"\\";
    const auto aside = Newest(folder, L"BD.DB.anterior*", IsSetAsideName, [](const FileTimes& t) { return t.changed; });
    if (!aside) return std::nullopt;
    const LedgerState state = StateOf(folder + L"BD.db");
    if (state == LedgerState::Holding) return std::nullopt;

    SetAsideLedger found;
    found.name = aside->name;
    found.emptyLedger = state == LedgerState::Empty;
    const auto dump = Newest(folder, L"*.REPARAR_BD", nullptr, [](const FileTimes& t) { return t.written; });
    found.repairCut = Newest(folder, L"*.REPARAR_NUEVO", nullptr, [](const FileTimes& t) { return t.written; }) ||
                      (dump && aside->changed >= dump->written);
    if (!found.repairCut && !found.emptyLedger) return std::nullopt;  // BD.db moved away: a new book
    found.copy = InspectLedgerCopy(folder + found.name);
    if (!found.repairCut && (found.copy.verdict != LedgerCopy::Verdict::Ok || found.copy.rows == 0))
        return std::nullopt;  // an empty BD.db, and nothing set aside worth taking back
    return found;
}

std::optional<std::wstring> PutBackSetAsideLedger(Host& host, const SetAsideLedger& found) {
    const std::wstring folder = host.InstallFolder() + L"\\";
    const std::wstring live = folder + L"BD.db";
    std::wstring kept;
    if (FileExists(live)) {
        const double now = ClockNow(host);
        for (int later = 0; later < kStampTries && kept.empty(); ++later) {
            const std::wstring name = folder + StampAt(now, later, host.Regional()) + L"-ANTES-DE-DEVOLVER.DB";
            if (!FileExists(name + L"-journal") && MoveWithJournal(live, name)) kept = name;
        }
        if (kept.empty()) return std::nullopt;
    }
    if (MoveWithJournal(folder + found.name, live)) return kept;
    if (!kept.empty()) MoveWithJournal(kept, live);
    return std::nullopt;
}

void Form1::OfferSetAsideLedger() {
    const std::wstring install = host_.InstallFolder();
    const auto found = FindSetAsideLedger(install);
    if (!found) return;
    const std::wstring& name = found->name;
    std::wstring text =
        (found->emptyLedger ? L"BD.db en " + install + L" no tiene ningún movimiento" : L"No se encontró BD.db en " + install) +
        (found->repairCut ? L": una reparación con Corvelan se interrumpió antes de terminar y dejó el libro apartado como " +
                                name + L"."
                          : L", pero a su lado está " + name + L", un libro que apartó una reparación con Corvelan.");
    if (found->copy.verdict == LedgerCopy::Verdict::Ok) {
        text += L" " + DescribeLedgerCopy(found->copy, host_.Regional()) +
                L"\r\n\r\n¿Volver a ponerlo como BD.db?\r\n\r\nSí: " + name + L" vuelve a ser BD.db" +
                (found->emptyLedger ? L"; el BD.db sin movimientos queda guardado a su lado." : L".") +
                L"\r\nNo: elegir una copia de seguridad para restaurarla.";
        if (host_.ShowMessage(Hwnd(), text, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (auto kept = PutBackSetAsideLedger(host_, *found)) {
                host_.ShowMessage(Hwnd(),
                                  name + L" vuelve a ser BD.db." +
                                      (kept->empty() ? L"" : L"\r\n\r\nEl BD.db sin movimientos quedó guardado como " + *kept + L"."),
                                  MB_OK);
                return;
            }
            host_.ShowMessage(Hwnd(), L"No se pudo volver a poner " + name +
                                          L" como BD.db; no se ha cambiado nada.\r\n\r\nElija una copia de seguridad para restaurarla.",
                              MB_OK);
        }
    } else {
        text += L" Ese archivo " + VerdictText(found->copy.verdict) +
                L", así que no se puede volver a poner.\r\n\r\nElija una copia de seguridad para restaurarla.";
        host_.ShowMessage(Hwnd(), text, MB_OK);
    }
    // The dialog opens in the backup folder of the settings.
    ReadSettingsFiles();
    if (RestoreACopy(false) || !found->repairCut) return;
    throw RuntimeError(kErrLedgerSetAside, L"Arcandora no se abre, para no empezar un libro vacío en lugar de " + name +
                                               L". Al abrirlo de nuevo podrá volver a ponerlo como BD.db o restaurar una "
                                               L"copia de seguridad.");
}

}  // namespace arc
