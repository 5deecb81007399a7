#include "Reconciliation.h"

#include "StatementStore.h"

#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"

#include <unordered_set>

namespace arc {

std::optional<std::int64_t> Reconciliation::Difference() const {
    if (!bankCents) return std::nullopt;
    return *bankCents - bookCents;
}

Reconciliation Reconcile(data::Connection& connection, std::int64_t statementId) {
    EnsureStatementTables(connection);
    auto stored = LoadStatement(connection, statementId);
    if (!stored) throw RuntimeError(kErrFileNotFound, L"El extracto ya no está en el libro.");
    Reconciliation r;
    r.statementId = statementId;
    r.fileName = stored->fileName;
    r.statement = std::move(stored->statement);
    r.bankCents = r.statement.finalCents;

    data::Statement fund(connection.Handle(), "SELECT SUM(INGEGR) FROM FINANZAS WHERE FECHA <= ?1");
    fund.Bind(1, ToUtf8(IsoDate(r.statement.lastDate)));
    r.bookCents = fund.Step() ? CentsOf(fund.Real(0)) : 0;
    data::Statement start(connection.Handle(), "SELECT SUM(INGEGR) FROM FINANZAS WHERE FECHA < ?1");
    start.Bind(1, ToUtf8(IsoDate(r.statement.firstDate)));
    r.bookStartCents = start.Step() ? CentsOf(start.Real(0)) : 0;

    const std::vector<BookRow> book = BookRowsBetween(connection, r.statement.firstDate, r.statement.lastDate);
    const auto found = MatchBook(r.statement.movements, book, stored->links, MatchRule::AlsoAmountAlone);
    for (size_t i = 0; i < found.size(); ++i)
        if (!found[i]) r.fileOnly.push_back(r.statement.movements[i]);
    const std::unordered_set<std::int64_t> matched(found.begin(), found.end());
    for (const BookRow& row : book)
        if (!matched.count(row.id)) r.bookOnly.push_back(row);
    return r;
}

}  // namespace arc
