#include "StatementImport.h"

#include "BookMatching.h"
#include "StatementStore.h"

#include "platform/data/Statement.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Text.h"

#include <sqlite3.h>

#include <cmath>

namespace arc {

ImportPlan PlanImport(data::Connection& connection, AccountStatement statement, std::optional<double> closedThrough) {
    EnsureStatementTables(connection);
    ImportPlan plan;
    plan.closedThrough = closedThrough;
    plan.statement = std::move(statement);
    const AccountStatement& s = plan.statement;
    const auto found = MatchBook(s.movements, BookRowsBetween(connection, s.firstDate, s.lastDate),
                                 ImportedLinesBetween(connection, s.firstDate, s.lastDate),
                                 MatchRule::LineOrDescription);
    for (size_t i = 0; i < s.movements.size(); ++i) {
        ImportCandidate c;
        c.inBook = found[i];
        c.closed = closedThrough && s.movements[i].date <= *closedThrough;
        c.ticked = !c.inBook && !c.closed;
        c.description = s.movements[i].wording;
        plan.rows.push_back(std::move(c));
    }
    return plan;
}

ImportOutcome WriteImport(const std::shared_ptr<data::Connection>& connection, const ImportPlan& plan,
                          const std::wstring& fileName, double today, std::optional<double> closedThrough,
                          const InsertRecorder& recorder) {
    data::Connection& c = *connection;
    EnsureStatementTables(c);
    data::Transaction transaction(connection);
    ImportOutcome outcome;

    // The balances go on from the fund in whole cents, so that they add up
    // to the cent however many rows follow; a fund that is no whole number
    // of cents (an amount typed with more decimals) is carried as it is.
    data::Statement fundQuery(c.Handle(), "SELECT SUM(INGEGR) FROM FINANZAS");
    const double fund = fundQuery.Step() ? fundQuery.Real(0) : 0.0;
    const std::int64_t fundCents = CentsOf(fund);
    const bool wholeCents = std::fabs(fund * 100.0 - static_cast<double>(fundCents)) < 1e-3;

    data::Statement insert(c.Handle(),
                           "INSERT INTO FINANZAS (ID, FECHA, DESCRIPCION, INGRESO, EGRESO, FECHA_OP, INGEGR, ESTADO) "
                           "VALUES(NULL, ?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    const std::string keyedIn = ToUtf8(IsoDate(today));
    const AccountStatement& s = plan.statement;
    std::vector<std::int64_t> bookIds(s.movements.size(), 0);
    std::int64_t added = 0;
    for (size_t i = 0; i < s.movements.size() && i < plan.rows.size(); ++i) {
        const BankMovement& m = s.movements[i];
        const ImportCandidate& row = plan.rows[i];
        bookIds[i] = row.inBook;
        if (!row.ticked) continue;
        if (closedThrough && m.date <= *closedThrough) {
            ++outcome.refusedClosed;
            continue;
        }
        added += m.cents;
        const std::wstring description = row.description.empty() ? m.wording : row.description;
        insert.Reset();
        insert.Bind(1, ToUtf8(IsoDate(m.date)));
        insert.Bind(2, ToUtf8(ToUpper(description)));
        insert.Bind(3, m.cents > 0 ? CentsValue(m.cents) : 0.0);
        insert.Bind(4, m.cents < 0 ? CentsValue(-m.cents) : 0.0);
        insert.Bind(5, keyedIn);
        insert.Bind(6, CentsValue(m.cents));
        insert.Bind(7, wholeCents ? CentsValue(fundCents + added) : fund + CentsValue(added));
        insert.Run();
        const std::int64_t id = sqlite3_last_insert_rowid(c.Handle());
        bookIds[i] = id;
        outcome.written.push_back(id);
        if (recorder) recorder(c, id, fileName);
    }
    outcome.statementId = StoreStatement(c, s, fileName, bookIds, today);
    transaction.Commit();
    return outcome;
}

}  // namespace arc
