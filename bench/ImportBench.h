#pragma once
// Importing a bank statement of 10,000 movements into a generated ledger:
// the preview's work (reading the file, parsing it, marking what the book
// already holds) and the import itself (every new movement written with
// its balance, the statement stored, in one transaction).
#include <cstddef>
#include <string>

namespace arc::bench {

struct ImportTimes {
    size_t bookRows = 0;
    size_t movements = 0;
    size_t alreadyInBook = 0;  // movements the preview marked as in the book
    size_t written = 0;        // rows the import wrote
    double previewMs = 0;
    double importMs = 0;
};

ImportTimes MeasureImport(size_t bookRows, size_t movements, const std::wstring& parent, int runs);

}  // namespace arc::bench
