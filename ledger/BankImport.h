#pragma once
// "Importar extracto bancario..." and "Cuadre con el banco...": the file
// dialog, the preview, the import in one transaction and the
// reconciliation.  The window that offers them (its menu) and what the rest
// of the book does around an import (its history, its closed period) come
// in through ImportHooks.
#include "ImportPreviewWindow.h"
#include "LedgerDatabase.h"
#include "ReconciliationWindow.h"

#include "platform/data/Connection.h"
#include "platform/runtime/Host.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace arc {

struct ImportHooks {
    // The last day of the closed period (a date value), if there is one:
    // movements dated on or before it are refused, with the reason.
    std::function<std::optional<double>()> closedThrough;
    // Called inside the import's transaction for each row written, with
    // the file's name.
    std::function<void(data::Connection&, std::int64_t id, const std::wstring& fileName)> recordInsert;
    // Called once each window is on screen; tests drive the windows from here.
    std::function<void(ImportPreviewWindow&)> onPreviewShown;
    std::function<void(ReconciliationWindow&)> onReconciliationShown;
};

// The filter of the file dialog.
extern const wchar_t kStatementFilter[];
// The largest statement file read: far more than the longest statement.
constexpr size_t kMaxStatementBytes = 64u << 20;

// The import, from the file dialog to the reconciliation.  Every failure
// is told in a message and leaves the book as it was.  True when rows were
// written (the caller refreshes the day view).
bool ImportBankStatement(HWND owner, Host& host, LedgerDatabase& db, const ImportHooks& hooks);

// The reconciliation of any statement imported, the latest first; a message
// when none has been imported yet.
void ShowBankReconciliation(HWND owner, Host& host, LedgerDatabase& db,
                            const std::function<void(ReconciliationWindow&)>& shown = {});

}  // namespace arc
