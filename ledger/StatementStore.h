#pragma once
// What the book remembers of the bank's statements it imported, in two
// tables of BD.db beside FINANZAS (created when missing; README describes
// them): EXTRACTOS, one row per account statement (its file, account,
// period and the bank's balances), and EXTRACTO_MOVIMIENTOS, one row per
// movement of it (its file line, fingerprint, date, concept, amount in
// cents, and the FINANZAS row it was written as or found as).  Re-importing
// a statement updates its rows instead of adding new ones.
#include "BankStatement.h"
#include "BookMatching.h"

#include "platform/data/Connection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arc {

void EnsureStatementTables(data::Connection& connection);

// Every line imported before whose movement stood in the book, dated within
// the days: fingerprint -> FINANZAS ids.
ImportedLines ImportedLinesBetween(data::Connection& connection, double from, double to);

// Records the statement and each of its movements with the book row it was
// written as or found as (0: none), on the connection's open transaction.
// Returns the statement's id.
std::int64_t StoreStatement(data::Connection& connection, const AccountStatement& statement,
                            const std::wstring& fileName, const std::vector<std::int64_t>& bookIds, double today);

struct StoredStatement {
    std::int64_t id = 0;
    std::wstring fileName;
    AccountStatement statement;  // movements without file lines' text, fingerprints kept
    ImportedLines links;         // its own movements' book rows
};

// The statements imported, newest period first: id and a line describing each.
std::vector<std::pair<std::int64_t, std::wstring>> StoredStatementList(data::Connection& connection,
                                                                       const Regional& regional);
std::optional<StoredStatement> LoadStatement(data::Connection& connection, std::int64_t id);

// "Entidad 2100, oficina 0418, cuenta 0200051332, ASOCIACION X" for Norma 43;
// "" for a CSV file, which names no account.
std::wstring AccountText(const AccountStatement& statement);

}  // namespace arc
