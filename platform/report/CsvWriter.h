#pragma once
// A report's rows as a spreadsheet file (comma-separated values, RFC 4180):
// a heading line, one line per record of the data source with the columns
// the report's design names, and a final totals line; UTF-8 with a byte-order
// mark so that spreadsheets read accented letters; lines end in CR LF.  Where
// the decimal separator is the comma, fields are separated by ";" (as
// spreadsheets there expect), otherwise by ",".  A field holding the
// separator, a quote or a line break is quoted, its quotes doubled.  A text
// that a spreadsheet would read as a formula (starting with "=", "+", "-",
// "@") is written after an apostrophe, so that it stays text.
#include "DataSource.h"
#include "ReportModel.h"
#include "platform/runtime/Regional.h"

#include <string>
#include <vector>

namespace arc::report {

// The whole document as bytes.  Raises RuntimeError 3265 when a column
// names a field the data source lacks.
std::string CsvDocument(const DataSource& source, const std::vector<ExportColumn>& columns, const Regional& regional);

// Writes the document to a file, replacing it; RuntimeError 75 when the file
// cannot be written.
void WriteCsv(const DataSource& source, const std::vector<ExportColumn>& columns, const Regional& regional,
              const std::wstring& path);

}  // namespace arc::report
