#pragma once
// "Buscar movimientos": a modal, resizable window over the whole book.  The
// user gives a date range (the last 30 days at first), a text the
// description contains and an amount, and gets the movements found, newest
// first, in the day view's columns and formats, with their number and sums.
// Enter in a filter box searches; Enter or a double click on a row (or
// "Corregir") chooses it and closes the window; Escape closes it.  Only its
// size is remembered, for the next time in the same session.
#include "LedgerDatabase.h"
#include "ListWindow.h"
#include "MovementRow.h"
#include "MovementSearch.h"

#include <functional>
#include <memory>
#include <optional>

namespace arc {

class SearchWindow : public ListWindow {
public:
    enum class Id : int {
        Label1 = 100, DESDE, Label2, HASTA, Label3, Text1, Label4, Text2, Command1, DataGrid1, Label5, Command2,
        Command3 = IDCANCEL,
    };
    struct Options {
        // Runs once the window is shown, inside its loop (tests drive it from here).
        std::function<void(SearchWindow&)> onShown;
    };

    // Shows the window over the owner until it closes; the row chosen, if any.
    static std::optional<MovementRow> Choose(HWND owner, Host& host, LedgerDatabase& db, const Options& options = {});

    SearchWindow(Host& host, LedgerDatabase& db);

    // What the window's controls and buttons do, callable by tests as the
    // user's actions call them.
    void Search();
    void ChooseCurrentRow();
    void Close();

    DataGrid& Grid() { return grid_; }
    const SearchTotals& Totals() const { return totals_; }

private:
    bool Create(HWND owner);
    std::optional<SearchFilter> Filter();

    LedgerDatabase& db_;
    std::shared_ptr<data::Recordset> rows_;
    SearchTotals totals_;
    std::optional<MovementRow> chosen_;
};

}  // namespace arc
