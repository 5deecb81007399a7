#pragma once
// Reading a bank's CSV export.  The file says nothing of its own layout, so
// the reader finds what it can (the separator, the header, which column is
// which, the decimal mark, the order of the date's parts) and leaves what
// the file cannot tell undecided, for the user to choose in the preview:
// "1.234" may be a thousand or one with a point, 03/04 the 3rd of April or
// the 4th of March.  Nothing is guessed silently.
#include "BankStatement.h"

#include <string>
#include <vector>

namespace arc {

enum class DateOrder { Undecided, DayMonthYear, MonthDayYear, YearMonthDay };

struct CsvTable {
    wchar_t separator = L';';
    std::vector<std::wstring> names;               // the header's cells, or "Columna 1"... without one
    std::vector<std::vector<std::wstring>> rows;   // the movements' rows, cells unquoted and trimmed
    std::vector<int> lines;                        // the file line where each row starts
};

// What the user may choose in the preview; -1: no column.
struct CsvLayout {
    int date = -1, wording = -1, amount = -1, income = -1, expense = -1, balance = -1;
    wchar_t decimal = 0;  // L',' or L'.'; 0: undecided
    DateOrder order = DateOrder::Undecided;
};

// The separator the file's lines agree on: ';', tab, ',' or '|'.
wchar_t DetectSeparator(const std::wstring& text);
// The table of the text: records of blank cells dropped, the lines before
// the first one holding a date dropped (a bank's heading), the record just
// before it taken as the header when it holds no date.  Raises
// StatementError when a row has another number of cells than the first.
CsvTable SplitCsv(const std::wstring& text, wchar_t separator);

// The columns by their names (or, without a header, by what they hold),
// with the decimal mark and date order they allow.
CsvLayout GuessLayout(const CsvTable& table);
// The decimal mark of the amount columns; 0 when they do not tell (every
// amount reads as well with either mark, or the cells disagree).
wchar_t DetectDecimal(const CsvTable& table, const CsvLayout& layout);
// The order of the parts of the dates of a column; Undecided when the
// dates read as well in two orders and would give different days.
DateOrder DetectDateOrder(const CsvTable& table, int column);

// The statement the table gives under the layout.  Raises StatementError
// for a choice still missing (no line) or a cell that cannot be read, or a
// balance that is not the one before plus the amount (with its line).
AccountStatement ReadCsvStatement(const CsvTable& table, const CsvLayout& layout, const Regional& regional);

}  // namespace arc
