#pragma once
// A bank's statement as read from its file (Norma 43 or a CSV export): for
// each account its period, the bank's balances and its movements, each with
// the file line it came from and a fingerprint of that line.  Amounts are
// whole cents, so that nothing is rounded on the way into the book.
#include "platform/runtime/Error.h"
#include "platform/runtime/Regional.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arc {

enum class StatementFormat { Norma43, Csv };

struct BankMovement {
    int line = 0;             // the file line of its main record, from 1
    double date = 0;          // the operation date, a date value
    std::int64_t cents = 0;   // a credit (income) positive, a debit (expense) negative
    std::wstring wording;  // the bank's concept, as a person reads it
    std::string fingerprint;  // of its file line: the same at every reading of the same file
};

struct AccountStatement {
    StatementFormat format = StatementFormat::Norma43;
    std::wstring bank, branch, account, holder, currency;  // Norma 43 only
    double firstDate = 0, lastDate = 0;                    // the period
    std::optional<std::int64_t> initialCents, finalCents;  // the bank's balances, when the file gives them
    int line = 0;                                          // where the account starts in the file
    std::string fingerprint;                               // of all its records
    std::vector<BankMovement> movements;                   // in date order, the file's order within a day

    std::int64_t Credits() const;
    std::int64_t Debits() const;  // positive
    size_t CreditCount() const;
    size_t DebitCount() const;
};

// A file that cannot be read as a statement.  Its description says where
// ("Línea 7: ...") and what is wrong, in the program's words.
class StatementError : public RuntimeError {
public:
    StatementError(int line, const std::wstring& what)
        : RuntimeError(kErrBadStatementFile, line > 0 ? L"Línea " + std::to_wstring(line) + L": " + what : what),
          line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

// An amount of cents in the regional format with two decimals ("1.234,56").
std::wstring CentsText(std::int64_t cents, const Regional& regional);
// Cents as the double the book stores (7.62, never 7.6199 written out).
double CentsValue(std::int64_t cents);
// The cents of an amount the book stores, to the nearest cent.
std::int64_t CentsOf(double amount);

// Gives each movement the fingerprint of its key (the text of its line,
// prefixed with what names its account), counting repeats of one key so
// that two equal lines of one file keep two fingerprints.
void AssignFingerprints(std::vector<BankMovement>& movements, const std::vector<std::string>& keys);
// The fingerprint of a whole text (a statement's records).
std::string TextFingerprint(const std::string& text);

// A text reduced to what a comparison of words needs: upper case, accents
// dropped (Á -> A, Ñ -> N), everything that is not a letter or a digit made
// one blank, no blanks at either end.
std::wstring Folded(const std::wstring& text);

// Puts movements in date order, keeping the file's order within a day.
void SortByDate(std::vector<BankMovement>& movements);

}  // namespace arc
