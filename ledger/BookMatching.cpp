#include "BookMatching.h"

#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"

#include <map>
#include <utility>

namespace arc {

std::vector<BookRow> BookRowsBetween(data::Connection& connection, double from, double to) {
    data::Statement query(connection.Handle(),
                          "SELECT ID, FECHA, INGEGR, DESCRIPCION FROM FINANZAS WHERE FECHA BETWEEN ?1 AND ?2 "
                          "ORDER BY rowid");
    query.Bind(1, ToUtf8(IsoDate(from)));
    query.Bind(2, ToUtf8(IsoDate(to)));
    std::vector<BookRow> rows;
    while (query.Step())
        rows.push_back({query.Integer(0), FromUtf8(query.Text(1)), CentsOf(query.Real(2)), FromUtf8(query.Text(3))});
    return rows;
}

bool DescriptionsMatch(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = Folded(a), y = Folded(b);
    if (x == y) return !x.empty();
    // A bank's concept line may cut a word in two ("ALQUI LER").
    auto joined = [](std::wstring s) {
        std::erase(s, L' ');
        return s;
    };
    if (joined(x) == joined(y)) return true;
    const std::wstring& shorter = x.size() < y.size() ? x : y;
    const std::wstring& longer = x.size() < y.size() ? y : x;
    if (shorter.size() < 4) return false;
    return (L" " + longer + L" ").find(L" " + shorter + L" ") != std::wstring::npos;
}

std::vector<std::int64_t> MatchBook(const std::vector<BankMovement>& movements, const std::vector<BookRow>& book,
                                    const ImportedLines& imported, MatchRule rule) {
    // The book's rows by day and signed amount, each taken once.
    std::map<std::pair<std::wstring, std::int64_t>, std::vector<const BookRow*>> byDay;
    for (const BookRow& row : book) byDay[{row.date, row.cents}].push_back(&row);
    std::vector<std::int64_t> found(movements.size(), 0);
    auto take = [&](size_t i, auto accepts) {
        if (found[i]) return;
        auto it = byDay.find({IsoDate(movements[i].date), movements[i].cents});
        if (it == byDay.end()) return;
        for (const BookRow*& row : it->second)
            if (row && accepts(*row)) {
                found[i] = row->id;
                row = nullptr;
                return;
            }
    };
    // Lines imported before first, so that a description that happens to
    // match never takes the row another line was written as.
    for (size_t i = 0; i < movements.size(); ++i) {
        auto known = imported.find(movements[i].fingerprint);
        if (known == imported.end()) continue;
        take(i, [&](const BookRow& row) {
            for (std::int64_t id : known->second)
                if (id == row.id) return true;
            return false;
        });
    }
    for (size_t i = 0; i < movements.size(); ++i)
        take(i, [&](const BookRow& row) { return DescriptionsMatch(row.description, movements[i].wording); });
    if (rule == MatchRule::AlsoAmountAlone)
        for (size_t i = 0; i < movements.size(); ++i) take(i, [](const BookRow&) { return true; });
    return found;
}

}  // namespace arc
