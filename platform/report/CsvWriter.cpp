#include "CsvWriter.h"

#include "FileBytes.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

#include <string_view>

namespace arc::report {
namespace {

int FieldOf(const DataSource& source, const std::wstring& field) {
    int f = source.FieldIndex(field);
    if (f < 0)
        throw RuntimeError(kErrItemNotFound, ErrorDescription(kErrItemNotFound) + L" (" + field + L")");
    return f;
}

// A text that spreadsheets would take for a formula (it starts with "=",
// "+", "-" or "@", or with a tab or carriage return that they skip before
// one) gets an apostrophe before it, so that it stays text: a description
// such as "=HIPERVINCULO(...)" is shown, never run.
std::wstring KeptAsText(const std::wstring& text) {
    if (!text.empty() && std::wstring_view(L"=+-@\t\r").find(text.front()) != std::wstring_view::npos)
        return L"'" + text;
    return text;
}

// A value as the column writes it: dates as YYYY-MM-DD, numbers in full
// without grouping, texts as they are (kept from being read as formulas).
std::wstring Cell(const data::Value& value, ExportColumn::Kind kind, const Regional& regional) {
    if (value.IsNull()) return L"";
    switch (kind) {
        case ExportColumn::Kind::Date:
            if (value.IsNumber()) return IsoDate(value.AsDouble());
            if (auto d = ParseDate(value.AsText(), regional)) return IsoDate(*d);
            break;
        case ExportColumn::Kind::Number:
            if (value.IsNumber()) return CStr(value.AsDouble(), regional);
            if (auto n = ParseNumber(value.AsText(), regional)) return CStr(*n, regional);
            break;
        case ExportColumn::Kind::Text:
            break;
    }
    return KeptAsText(value.AsText());
}

void AppendField(std::wstring& line, const std::wstring& text, wchar_t separator) {
    if (text.find_first_of(std::wstring{separator, L'"', L'\r', L'\n'}) == std::wstring::npos) {
        line += text;
        return;
    }
    line += L'"';
    for (wchar_t c : text) {
        if (c == L'"') line += L'"';
        line += c;
    }
    line += L'"';
}

void AppendLine(std::wstring& out, const std::vector<std::wstring>& fields, wchar_t separator) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += separator;
        AppendField(out, fields[i], separator);
    }
    out += L"\r\n";
}

}  // namespace

std::string CsvDocument(const DataSource& source, const std::vector<ExportColumn>& columns, const Regional& regional) {
    const wchar_t separator = regional.decimal == L"," ? L';' : L',';
    std::vector<int> fields, totals, lasts;
    std::vector<double> sums(columns.size(), 0.0);
    for (const auto& c : columns) {
        fields.push_back(FieldOf(source, c.field));
        totals.push_back(c.totalOf.empty() ? -1 : FieldOf(source, c.totalOf));
        lasts.push_back(c.lastOf.empty() ? -1 : FieldOf(source, c.lastOf));
    }
    std::wstring text;
    std::vector<std::wstring> line;
    for (const auto& c : columns) line.push_back(c.heading);
    AppendLine(text, line, separator);
    for (size_t r = 0; r < source.RowCount(); ++r) {
        for (size_t c = 0; c < columns.size(); ++c) {
            line[c] = Cell(source.Value(r, fields[c]), columns[c].kind, regional);
            if (totals[c] >= 0) {
                const auto& v = source.Value(r, totals[c]);
                if (!v.IsNull()) sums[c] += v.AsDouble();
            }
        }
        AppendLine(text, line, separator);
    }
    const size_t rows = source.RowCount();
    for (size_t c = 0; c < columns.size(); ++c) {
        if (totals[c] >= 0) line[c] = CStr(sums[c], regional);
        else if (lasts[c] >= 0) line[c] = rows ? Cell(source.Value(rows - 1, lasts[c]), ExportColumn::Kind::Number, regional) : L"";
        else line[c] = columns[c].totalText;
    }
    AppendLine(text, line, separator);
    return "\xEF\xBB\xBF" + ToUtf8(text);
}

void WriteCsv(const DataSource& source, const std::vector<ExportColumn>& columns, const Regional& regional,
              const std::wstring& path) {
    WriteFileBytes(path, CsvDocument(source, columns, regional));
}

}  // namespace arc::report
