#pragma once
// "Historial de cambios": a modal, resizable window that lists the history
// of the book, newest first, for a range of days, with each change's values
// before and after side by side, and "Verificar", which recomputes the chain
// and compares the book with the history and says what it found.
#include "LedgerDatabase.h"
#include "ListWindow.h"

#include <functional>
#include <memory>

namespace arc {

class HistoryWindow : public ListWindow {
public:
    enum class Id : int {
        Label1 = 100, DESDE, Label2, HASTA, Command1, DataGrid1, Label3, Command2, Command3 = IDCANCEL,
    };
    struct Options {
        // Runs once the window is shown, inside its loop (tests drive it from here).
        std::function<void(HistoryWindow&)> onShown;
    };

    static void Show(HWND owner, Host& host, LedgerDatabase& db, const Options& options = {});

    HistoryWindow(Host& host, LedgerDatabase& db);

    void ShowEntries();  // "Mostrar": the entries of the range
    void Verify();       // "Verificar"
    DataGrid& Grid() { return grid_; }

private:
    bool Create(HWND owner);

    LedgerDatabase& db_;
    std::shared_ptr<data::Recordset> rows_;
};

}  // namespace arc
