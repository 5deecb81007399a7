#pragma once
// The search over every movement of the book: a date range, a text the
// description contains (case and accents ignored) and an amount that the
// income or the expense equals.  The rows come newest first with the day
// view's columns; the count and the sums cover every row found, however
// many of them the list shows.
#include "LedgerDatabase.h"

#include <memory>
#include <optional>
#include <string>

namespace arc {

struct SearchFilter {
    double desde = 0, hasta = 0;    // date values, both days included
    std::wstring text;              // empty: any description
    std::optional<double> amount;   // none: any amount
};

struct SearchTotals {
    long long rows = 0;
    double income = 0, expense = 0;
};

// At most this many rows are listed (the newest); the totals count them all.
constexpr int kSearchListLimit = 1000;

// How the rows of the range are best reached: through the index on FECHA
// (a short range, or the newest rows of many found), or by reading the
// whole table (a range over most of the book, with few rows found).
enum class SearchRoute { ByDate, WholeTable };

// "select ID, FECHA, DESCRIPCION, INGRESO, EGRESO, ESTADO FROM FINANZAS
// WHERE ... ORDER BY FECHA DESC, ID DESC LIMIT 1000".
std::wstring SearchListQuery(const SearchFilter& filter, SearchRoute route);
// The count and the sums of the same rows.
std::wstring SearchTotalsQuery(const SearchFilter& filter, SearchRoute route);

struct SearchResult {
    std::shared_ptr<data::Recordset> rows;  // the newest kSearchListLimit rows found
    SearchTotals totals;                    // of every row found
};

// Runs the search on the database's current connection.
SearchResult RunSearch(LedgerDatabase& db, const SearchFilter& filter);

}  // namespace arc
