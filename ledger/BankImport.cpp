#include "BankImport.h"

#include "CsvStatementReader.h"
#include "Norma43Reader.h"
#include "StatementImport.h"
#include "StatementStore.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Text.h"
#include "platform/runtime/TextFile.h"

#include <cwctype>

namespace arc {
namespace {

const wchar_t kNothingImported[] = L"\r\n\r\nNo se ha importado nada.";

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

bool IsCsvName(const std::wstring& path) {
    std::wstring name = NameOf(path);
    for (auto& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return name.size() > 4 && name.ends_with(L".csv");
}

// The file as the preview shows it.  A CSV export is any file that is not
// Norma 43, or whose name says so; a file that is neither is refused with
// the reason Norma 43 reading gives, which names the line.
StatementSource ReadSource(const std::wstring& path, const Regional& regional) {
    const FileBytes file = ReadFileBytes(path, kMaxStatementBytes);
    switch (file.status) {
        case FileBytes::Status::Ok: break;
        case FileBytes::Status::TooLarge:
            throw StatementError(0, L"El archivo pasa de 64 MB: no es un extracto bancario.");
        case FileBytes::Status::CannotOpen:
            throw StatementError(0, L"No se puede abrir el archivo (puede que no exista o que otro programa lo tenga "
                                    L"abierto).");
        case FileBytes::Status::ReadFailed: throw StatementError(0, L"No se pudo leer el archivo entero.");
    }
    StatementSource source;
    source.fileName = NameOf(path);
    const std::wstring text = FromFileBytes(file.bytes);
    if (IsCsvName(path) || !LooksLikeNorma43(text)) {
        const wchar_t separator = DetectSeparator(text);
        try {
            SplitCsv(text, separator);
            source.csvText = text;
            source.csvSeparator = separator;
            return source;
        } catch (const StatementError&) {
            if (IsCsvName(path)) throw;
        }
    }
    source.accounts = ReadNorma43(text, regional);
    return source;
}

std::wstring Headline(const ImportOutcome& outcome, const ImportPlan& plan, const std::wstring& fileName,
                      const Regional& regional) {
    const size_t n = outcome.written.size();
    std::wstring text = n == 0   ? L"No se importó ningún movimiento de " + fileName + L"."
                        : n == 1 ? L"Se importó 1 movimiento de " + fileName + L"."
                                 : L"Se importaron " + std::to_wstring(n) + L" movimientos de " + fileName + L".";
    if (outcome.refusedClosed)
        text += L" " + std::to_wstring(outcome.refusedClosed) + L" no, por ser del período cerrado hasta el " +
                ShortDate(*plan.closedThrough, regional) + L".";
    return text;
}

}  // namespace

const wchar_t kStatementFilter[] = L"Norma 43 (*.n43;*.txt;*.aeb;*.csb)|*.n43;*.txt;*.aeb;*.csb|CSV (*.csv)|*.csv";

bool ImportBankStatement(HWND owner, Host& host, LedgerDatabase& db, const ImportHooks& hooks) {
    const std::wstring path = host.OpenFileDialogIn(owner, L"Importar extracto bancario", L"", kStatementFilter);
    if (path.empty()) return false;
    const Regional& regional = host.Regional();
    const std::wstring fileName = NameOf(path);

    // Nothing is written before the user says so in the preview.
    std::optional<ImportPlan> plan;
    try {
        const StatementSource source = ReadSource(path, regional);
        db.CONEXION();
        auto connection = db.Connection();
        const std::optional<double> closed = hooks.closedThrough ? hooks.closedThrough() : std::nullopt;
        plan = ImportPreviewWindow::Show(
            owner, host, source,
            [&](AccountStatement statement) { return PlanImport(*connection, std::move(statement), closed); },
            hooks.onPreviewShown);
    } catch (const StatementError& e) {
        host.ShowMessage(owner, L"No se puede importar el archivo " + fileName + L".\r\n\r\n" + e.Description() +
                                    kNothingImported, MB_OK);
        return false;
    } catch (...) {
        host.ShowMessage(owner, L"No se pudo preparar la importación de " + fileName + L".\r\n\r\n" +
                                    RuntimeErrorText(CurrentError()) + kNothingImported, MB_OK);
        return false;
    }
    if (!plan) return false;

    ImportOutcome outcome;
    try {
        db.CONEXION();
        // The closed period is asked again: it may have changed while the preview was open.
        const std::optional<double> closed = hooks.closedThrough ? hooks.closedThrough() : std::nullopt;
        plan->closedThrough = closed;
        outcome = WriteImport(db.Connection(), *plan, fileName, Today(host.Now()), closed, hooks.recordInsert);
    } catch (...) {
        host.ShowMessage(owner, L"No se pudo importar " + fileName + L".\r\n\r\n" + RuntimeErrorText(CurrentError()) +
                                    kNothingImported, MB_OK);
        return false;
    }

    const std::wstring headline = Headline(outcome, *plan, fileName, regional);
    try {
        ReconciliationWindow::Show(owner, host, *db.Connection(), outcome.statementId, headline,
                                   hooks.onReconciliationShown);
    } catch (...) {
        host.ShowMessage(owner, headline + L"\r\n\r\nEl cuadre con el banco no se pudo mostrar:\r\n" +
                                    RuntimeErrorText(CurrentError()), MB_OK);
    }
    return !outcome.written.empty();
}

void ShowBankReconciliation(HWND owner, Host& host, LedgerDatabase& db,
                            const std::function<void(ReconciliationWindow&)>& shown) {
    try {
        db.CONEXION();
        auto connection = db.Connection();
        EnsureStatementTables(*connection);
        const auto statements = StoredStatementList(*connection, host.Regional());
        if (statements.empty()) {
            host.ShowMessage(owner, L"Todavía no se ha importado ningún extracto bancario con que cuadrar el libro.",
                             MB_OK);
            return;
        }
        ReconciliationWindow::Show(owner, host, *connection, statements.front().first, L"", shown);
    } catch (...) {
        host.ShowMessage(owner, L"El cuadre con el banco no se pudo mostrar.\r\n\r\n" + RuntimeErrorText(CurrentError()),
                         MB_OK);
    }
}

}  // namespace arc
