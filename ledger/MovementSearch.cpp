#include "MovementSearch.h"

#include "SqlText.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"

#include <algorithm>

namespace arc {
namespace {

std::wstring WhereOf(const SearchFilter& f, SearchRoute route) {
    std::wstring range = L"FECHA BETWEEN '" + IsoDate(f.desde) + L"' AND '" + IsoDate(f.hasta) + L"'";
    // Told that most rows fall in the range, SQLite reads the table instead
    // of looking each row up through the index.
    if (route == SearchRoute::WholeTable) range = L"likelihood(" + range + L", 0.9)";
    std::wstring where = L" WHERE " + range;
    if (!f.text.empty()) where += L" AND CONTIENE(DESCRIPCION, '" + SqlQuoted(f.text) + L"')";
    if (f.amount) {
        // Within half a cent: an amount typed equals the one stored from the
        // same reading, and a stored sum of cents may carry a binary remainder.
        const std::wstring lo = SqlNumber(*f.amount - 0.005), hi = SqlNumber(*f.amount + 0.005);
        where += L" AND ((INGRESO > " + lo + L" AND INGRESO < " + hi + L") OR (EGRESO > " + lo + L" AND EGRESO < " +
                 hi + L"))";
    }
    return where;
}

}  // namespace

std::wstring SearchListQuery(const SearchFilter& filter, SearchRoute route) {
    return L"select ID, FECHA, DESCRIPCION, INGRESO, EGRESO, ESTADO FROM FINANZAS" + WhereOf(filter, route) +
           L" ORDER BY FECHA DESC, ID DESC LIMIT " + std::to_wstring(kSearchListLimit);
}

std::wstring SearchTotalsQuery(const SearchFilter& filter, SearchRoute route) {
    return L"select count(*) AS N, total(INGRESO) AS INGRESOS, total(EGRESO) AS EGRESOS FROM FINANZAS" +
           WhereOf(filter, route);
}

SearchResult RunSearch(LedgerDatabase& db, const SearchFilter& filter) {
    // The share of the book's days that the range covers decides how the
    // totals are counted; how many rows were found decides how the newest
    // are listed (many: the index walked back from the end finds them soon).
    auto span = db.OpenRecordset(L"select min(FECHA) AS A, max(FECHA) AS B FROM FINANZAS");
    const std::wstring first = span->Field(L"A").AsText(), last = span->Field(L"B").AsText();
    const bool wide = first.empty() || (IsoDate(filter.desde) <= first && IsoDate(filter.hasta) >= last) ||
                      [&] {
                          const auto a = ParseIsoDate(first), b = ParseIsoDate(last);
                          if (!a || !b || *b <= *a) return true;
                          const double covered = std::min(filter.hasta, *b) - std::max(filter.desde, *a);
                          return covered > 0.25 * (*b - *a);
                      }();
    SearchResult result;
    auto totals = db.OpenRecordset(SearchTotalsQuery(filter, wide ? SearchRoute::WholeTable : SearchRoute::ByDate));
    result.totals = {static_cast<long long>(totals->Field(L"N").AsDouble()), totals->Field(L"INGRESOS").AsDouble(),
                     totals->Field(L"EGRESOS").AsDouble()};
    const bool few = result.totals.rows <= kSearchListLimit;
    result.rows = db.OpenRecordset(SearchListQuery(filter, wide && few ? SearchRoute::WholeTable : SearchRoute::ByDate));
    return result;
}

}  // namespace arc
