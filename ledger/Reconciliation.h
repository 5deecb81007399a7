#pragma once
// The book against a statement it imported: the bank's final balance at
// the statement's last date beside the book's fund at that date (every
// movement dated on or before it), their difference, and, to find it, the
// book's movements of the period that are not in the statement and the
// statement's that are not in the book.
#include "BankStatement.h"
#include "BookMatching.h"

#include "platform/data/Connection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arc {

struct Reconciliation {
    std::int64_t statementId = 0;
    std::wstring fileName;
    AccountStatement statement;
    std::optional<std::int64_t> bankCents;  // the bank's final balance; none when the file gives none
    std::int64_t bookCents = 0;             // the book's fund at the statement's last date
    std::int64_t bookStartCents = 0;        // ... and before its first date
    std::vector<BookRow> bookOnly;
    std::vector<BankMovement> fileOnly;

    // Bank minus book; none without the bank's balance.
    std::optional<std::int64_t> Difference() const;
};

// Raises RuntimeError when the statement is no longer in the book.
Reconciliation Reconcile(data::Connection& connection, std::int64_t statementId);

}  // namespace arc
