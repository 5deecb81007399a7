// "Comprobar el libro...", from the menu bar and at every start: the
// self-check of the book (BookCheck.h) told to the user, and its mend on
// Yes, after a copy of the book has been saved and checked.  A sound book
// says nothing at start; nothing is changed without the user's Yes.
#include "Backup.h"
#include "BookCheck.h"
#include "Form1.h"
#include "History.h"
#include "LedgerCopy.h"

#include "platform/runtime/Format.h"
#include "platform/runtime/SystemHost.h"
#include "platform/runtime/TextFile.h"

namespace arc {
namespace {

const wchar_t kBeforeMending[] = L"-ANTES-DE-CORREGIR.DB";

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

std::wstring Count(long long n, const Regional& regional) {
    return FormatNumber(static_cast<double>(n), L"#,##0", regional);
}

// "(ID 7, 8 y 12)" or "(ID 7, 8, 9, 10 y 11, y 40 más)".
std::wstring Ids(const BookCheck::Rows& rows, const Regional& regional) {
    std::wstring text = L"(ID ";
    for (size_t i = 0; i < rows.first.size(); ++i) {
        if (i) text += i + 1 == rows.first.size() ? L" y " : L", ";
        text += std::to_wstring(rows.first[i]);
    }
    const long long more = rows.count - static_cast<long long>(rows.first.size());
    if (more > 0) text += L", y " + Count(more, regional) + L" más";
    return text + L")";
}

// "1 importe" / "3 importes".
std::wstring Many(long long n, const wchar_t* one, const wchar_t* many, const Regional& regional) {
    return Count(n, regional) + L" " + (n == 1 ? one : many);
}

// What the check found, one paragraph per kind of fault.
std::wstring Findings(const BookCheck& check, const Regional& regional) {
    std::wstring text;
    auto paragraph = [&text](const std::wstring& p) { text += L"\r\n\r\n- " + p; };
    if (check.textAmounts.count) {
        std::wstring p = Many(check.textAmounts.count, L"movimiento tiene", L"movimientos tienen", regional) +
                         L" importes guardados como texto, que se muestran de una forma y se suman de otra " +
                         Ids(check.textAmounts, regional) + L".";
        if (check.unreadableAmounts.count)
            p += L" " + Many(check.unreadableAmounts.count, L"de ellos no se lee", L"de ellos no se leen", regional) +
                 L" como número " + Ids(check.unreadableAmounts, regional) +
                 L": se quedan como están; corríjalos con \"Buscar y corregir...\".";
        paragraph(p);
    }
    if (check.wrongBalances.count)
        paragraph(Many(check.wrongBalances.count, L"saldo (ESTADO) no es", L"saldos (ESTADO) no son", regional) +
                  L" la suma de los importes hasta su fila " + Ids(check.wrongBalances, regional) + L".");
    if (check.badDates.count) {
        std::wstring p = Many(check.badDates.count, L"fecha no se lee", L"fechas no se leen", regional) +
                         L" como AAAA-MM-DD " + Ids(check.badDates, regional) + L".";
        size_t shown = 0;
        for (const auto& mend : check.mends) {
            if (!mend.date || shown == BookCheck::Rows::kShown) continue;
            p += (shown++ ? L"; " : L" Se escribirán así: ") + std::wstring(L"ID ") + std::to_wstring(mend.id) +
                 L", «" + mend.dateBefore + L"» como " + *mend.date;
        }
        if (shown) p += L".";
        if (check.unreadableDates.count)
            p += L" " + Many(check.unreadableDates.count, L"de ellas no se lee", L"de ellas no se leen", regional) +
                 L" como fecha " + Ids(check.unreadableDates, regional) + L": se quedan como están.";
        paragraph(p);
    }
    return text;
}

}  // namespace

void Form1::COMPROBAR_LIBRO(bool atStart) {
    const Regional& regional = host_.Regional();
    BookCheck check;
    try {
        Hourglass wait(*this);
        db_.CONEXION();
        check = CheckBook(db_, regional);
    } catch (const RuntimeError& e) {
        // At start a book that cannot be read now (another program holding
        // it) is checked at the next start, or on demand.
        if (!atStart)
            host_.ShowMessage(Hwnd(), L"No se pudo comprobar el libro: " + e.Description() + L".", MB_OK);
        return;
    }
    if (check.Sound()) {
        if (!atStart)
            host_.ShowMessage(Hwnd(), L"El libro está en orden: " + Many(check.movements, L"movimiento comprobado",
                                                                          L"movimientos comprobados", regional) +
                                          L" (el archivo, los importes, los saldos y las fechas).",
                          MB_OK);
        return;
    }
    if (!check.damage.empty()) {
        host_.ShowMessage(Hwnd(), L"El archivo del libro está dañado. La comprobación de SQLite dice: " + check.damage +
                                      L"\r\n\r\nArcandora no lo corrige: cierre el programa y repare " +
                                      host_.InstallFolder() + L"\\BD.db con Corvelan.",
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::wstring found = L"La comprobación del libro encontró esto:" + Findings(check, regional);
    if (!check.Mendable()) {
        host_.ShowMessage(Hwnd(), found + L"\r\n\r\nNo hay nada que Arcandora pueda corregir por sí mismo.", MB_OK);
        return;
    }

    // The copy goes to the backup folder; without one, beside the book.
    const std::wstring live = host_.InstallFolder() + L"\\BD.db";
    const std::wstring drive = Text(Id::Text4);
    std::wstring folder = host_.InstallFolder();
    if (!drive.empty()) {
        const std::wstring backups = PlacesFor(host_.InstallFolder(), drive).folder;
        CreateDirectoryW(backups.c_str(), nullptr);
        if (FolderExists(backups)) folder = backups;
    }
    const std::wstring question =
        found + L"\r\n\r\n¿Corregirlo ahora? Antes se guardará una copia del libro, comprobada, en " + folder +
        L"; después los importes guardados como texto se escribirán como números, las fechas como AAAA-MM-DD y se "
        L"recalcularán los saldos. Cada movimiento corregido quedará en el historial de cambios.";
    if (host_.ShowMessage(Hwnd(), question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    const std::wstring outcome = [&]() -> std::wstring {
        Hourglass wait(*this);
        const auto before = SaveCopyUnderFreeStamp(host_, live, folder, kBeforeMending);
        const LedgerCopy copy = before ? InspectLedgerCopy(*before) : LedgerCopy{};
        if (!before || copy.verdict != LedgerCopy::Verdict::Ok || copy.rows != check.movements) {
            if (before) DeleteFileW(before->c_str());
            return L"No se pudo guardar una copia comprobada del libro en " + folder +
                   L", así que no se ha corregido nada.";
        }
        BookMended done;
        try {
            db_.CONEXION();
            done = MendBook(db_, regional, History::Moment(host_.Now()), NameOf(*before));
        } catch (const RuntimeError& e) {
            return L"No se pudo corregir el libro: " + e.Description() + L".\r\n\r\nNo se ha cambiado nada; la copia " +
                   *before + L" queda guardada.";
        }
        std::wstring said =
            L"Libro corregido: " +
            Many(done.amounts, L"movimiento con los importes escritos", L"movimientos con los importes escritos",
                 regional) +
            L" como números, " + Many(done.dates, L"fecha escrita", L"fechas escritas", regional) +
            L" como AAAA-MM-DD y " + Many(done.balances, L"saldo recalculado", L"saldos recalculados", regional) +
            L". El historial de cambios lo registra.\r\n\r\nEl libro de antes quedó guardado en " + *before + L".";
        // The movement loaded for modification may have changed.
        EntryReset();
        try {
            MOSTRAR();
        } catch (const RuntimeError& e) {
            said += L"\r\n\r\nLos movimientos de hoy no se pudieron volver a mostrar: " + e.Description() + L".";
        }
        return said;
    }();
    host_.ShowMessage(Hwnd(), outcome, MB_OK);
}

}  // namespace arc
