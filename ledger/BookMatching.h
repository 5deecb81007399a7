#pragma once
// Which movements of a bank's statement are already in the book: a row of
// FINANZAS on the same date, with the same amount in the same direction,
// that either was written (or found) for the same file line at an earlier
// import, or whose description matches the bank's concept.  The
// reconciliation may also accept the same date and amount alone.  One book
// row stands for one movement at most, so two equal withdrawals of a day
// need two rows.
#include "BankStatement.h"

#include "platform/data/Connection.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace arc {

struct BookRow {
    std::int64_t id = 0;
    std::wstring date;        // FECHA as stored, "YYYY-MM-DD"
    std::int64_t cents = 0;   // INGEGR in cents: income positive, expense negative
    std::wstring description;
};

// The book's rows dated within the days, in row-id order.
std::vector<BookRow> BookRowsBetween(data::Connection& connection, double from, double to);

// Fingerprint of a file line -> the FINANZAS rows it was written as or found as.
using ImportedLines = std::unordered_map<std::string, std::vector<std::int64_t>>;

enum class MatchRule {
    LineOrDescription,  // the import's rule
    AlsoAmountAlone,    // the reconciliation's: then any row of the same date and amount
};

// For each movement, the id of the book row that is that movement, or 0.
std::vector<std::int64_t> MatchBook(const std::vector<BankMovement>& movements, const std::vector<BookRow>& book,
                                    const ImportedLines& imported, MatchRule rule);

// True when two descriptions name the same thing: equal once folded (case,
// accents, punctuation and blanks aside), or the shorter, of four
// characters at least, stands whole-word inside the longer ("RECIBO LUZ" in
// "RECIBO LUZ ENERO").
bool DescriptionsMatch(const std::wstring& a, const std::wstring& b);

}  // namespace arc
