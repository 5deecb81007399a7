#pragma once
// The import of a bank's statement into the book: the plan the preview
// shows (which movements are already in the book, which lie in the closed
// period, which are ticked, and the description each would be written
// with) and the writing of the ticked ones in one transaction.
#include "BankStatement.h"

#include "platform/data/Connection.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace arc {

struct ImportCandidate {
    std::int64_t inBook = 0;   // the book row that is this movement; 0: none
    bool closed = false;       // dated on or before the end of the closed period
    bool ticked = false;       // to be written
    std::wstring description;  // what is written; the bank's concept to begin with
};

struct ImportPlan {
    AccountStatement statement;
    std::vector<ImportCandidate> rows;  // one per movement of the statement
    std::optional<double> closedThrough;
};

// Marks the movements already in the book and those of the closed period,
// and ticks the others.  Creates the statement tables when missing.
ImportPlan PlanImport(data::Connection& connection, AccountStatement statement, std::optional<double> closedThrough);

// Called inside the import's transaction for each row written.
using InsertRecorder = std::function<void(data::Connection&, std::int64_t id, const std::wstring& fileName)>;

struct ImportOutcome {
    std::int64_t statementId = 0;
    std::vector<std::int64_t> written;  // the new rows' ids, in the order written
    size_t refusedClosed = 0;           // ticked rows refused for lying in the closed period
};

// In one transaction: the ticked movements outside the closed period are
// inserted in date order, each with its date as FECHA, today as FECHA_OP,
// its amount as INGRESO or EGRESO and signed as INGEGR, and as ESTADO the
// fund before the import plus the amounts written so far; the recorder is
// called for each; the statement is stored with the book row of every
// movement.  A failure anywhere leaves the book as it was.
ImportOutcome WriteImport(const std::shared_ptr<data::Connection>& connection, const ImportPlan& plan,
                          const std::wstring& fileName, double today, std::optional<double> closedThrough,
                          const InsertRecorder& recorder);

}  // namespace arc
