#include "CsvStatementReader.h"

#include "platform/runtime/DateValue.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Text.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <map>
#include <optional>

namespace arc {
namespace {

// Records of the text, quote-aware: a cell in double quotes may hold the
// separator, line ends and doubled quotes.  Each with the line it starts at.
struct Record {
    int line = 0;
    std::vector<std::wstring> cells;
};

std::vector<Record> Records(const std::wstring& text, wchar_t separator) {
    std::vector<Record> records;
    Record current{1, {}};
    std::wstring cell;
    bool quoted = false, wasQuoted = false;
    int line = 1;
    auto endCell = [&] {
        current.cells.push_back(wasQuoted ? cell : Trim(cell));
        cell.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endCell();
        if (std::any_of(current.cells.begin(), current.cells.end(), [](auto& c) { return !c.empty(); }))
            records.push_back(std::move(current));
        current = Record{line, {}};
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (quoted) {
            if (c == L'"' && i + 1 < text.size() && text[i + 1] == L'"') {
                cell += L'"';
                ++i;
            } else if (c == L'"') {
                quoted = false;
            } else {
                if (c == L'\n') ++line;
                if (c != L'\r') cell += c;
            }
        } else if (c == L'"' && Trim(cell).empty()) {
            cell.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            endCell();
        } else if (c == L'\n') {
            ++line;
            endRecord();
        } else if (c != L'\r') {
            cell += c;
        }
    }
    endRecord();
    return records;
}

// The three numbers of a date cell as written ("31/12/2025", "2025-12-31",
// "20251231", a time after it ignored), with the digits of the first and last.
struct DateCell {
    std::array<int, 3> part{};
    size_t firstDigits = 0, lastDigits = 0;
};

std::optional<DateCell> ReadDateCell(std::wstring cell) {
    if (size_t cut = cell.find_first_of(L" T", 6); cut != std::wstring::npos) cell.resize(cut);
    DateCell d;
    if (cell.size() == 8 && cell.find_first_not_of(L"0123456789") == std::wstring::npos) {
        d.part = {std::stoi(cell.substr(0, 4)), std::stoi(cell.substr(4, 2)), std::stoi(cell.substr(6, 2))};
        d.firstDigits = 4;
        d.lastDigits = 2;
        return d;
    }
    const size_t s1 = cell.find_first_of(L"/-.");
    if (s1 == std::wstring::npos) return std::nullopt;
    const wchar_t sep = cell[s1];
    const size_t s2 = cell.find(sep, s1 + 1);
    if (s2 == std::wstring::npos || cell.find(sep, s2 + 1) != std::wstring::npos) return std::nullopt;
    const std::wstring parts[3] = {cell.substr(0, s1), cell.substr(s1 + 1, s2 - s1 - 1), cell.substr(s2 + 1)};
    for (int k = 0; k < 3; ++k) {
        if (parts[k].empty() || parts[k].size() > 4 || parts[k].find_first_not_of(L"0123456789") != std::wstring::npos)
            return std::nullopt;
        d.part[static_cast<size_t>(k)] = std::stoi(parts[k]);
    }
    d.firstDigits = parts[0].size();
    d.lastDigits = parts[2].size();
    return d;
}

std::optional<double> DateUnder(const DateCell& d, DateOrder order) {
    int y = 0, m = 0, day = 0;
    switch (order) {
        case DateOrder::YearMonthDay:
            if (d.firstDigits != 4) return std::nullopt;
            y = d.part[0], m = d.part[1], day = d.part[2];
            break;
        case DateOrder::DayMonthYear:
        case DateOrder::MonthDayYear:
            if (d.firstDigits > 2 || (d.lastDigits != 2 && d.lastDigits != 4)) return std::nullopt;
            y = d.part[2];
            if (d.lastDigits == 2) y += y < 80 ? 2000 : 1900;
            m = d.part[order == DateOrder::DayMonthYear ? 1 : 0];
            day = d.part[order == DateOrder::DayMonthYear ? 0 : 1];
            break;
        case DateOrder::Undecided: return std::nullopt;
    }
    if (!IsValidDate(y, m, day)) return std::nullopt;
    return DateSerial(y, m, day);
}

bool IsDateText(const std::wstring& cell) {
    auto d = ReadDateCell(cell);
    return d && (DateUnder(*d, DateOrder::DayMonthYear) || DateUnder(*d, DateOrder::MonthDayYear) ||
                 DateUnder(*d, DateOrder::YearMonthDay));
}

// An amount cell without its currency.
std::wstring AmountText(std::wstring cell) {
    for (const wchar_t* unit : {L"EUR", L"eur", L"€"})
        for (size_t at; (at = cell.find(unit)) != std::wstring::npos;) cell.erase(at, std::wcslen(unit));
    return Trim(cell);
}

std::optional<std::int64_t> CentsIn(const std::wstring& cell, wchar_t decimal) {
    return ParseCents(AmountText(cell), decimal, decimal == L',' ? L'.' : L',');
}

bool IsAmountText(const std::wstring& cell) {
    return !cell.empty() && !IsDateText(cell) && (CentsIn(cell, L',') || CentsIn(cell, L'.'));
}

// Which decimal mark one amount shows: ',' or '.', 0 when it reads as well
// with either, or has no mark at all.
wchar_t MarkOf(const std::wstring& cell) {
    const std::wstring t = AmountText(cell);
    const size_t comma = t.rfind(L','), point = t.rfind(L'.');
    if (comma != std::wstring::npos && point != std::wstring::npos) return comma > point ? L',' : L'.';
    if (comma == std::wstring::npos && point == std::wstring::npos) return 0;
    const wchar_t mark = comma != std::wstring::npos ? L',' : L'.';
    const size_t at = std::min(comma, point);
    if (t.find(mark) != at) return mark == L',' ? L'.' : L',';  // written twice: it groups
    const size_t digits = t.find_first_not_of(L"0123456789", at + 1);
    const size_t after = (digits == std::wstring::npos ? t.size() : digits) - at - 1;
    return after == 3 ? 0 : mark;
}

bool HasWord(const std::wstring& folded, std::initializer_list<const wchar_t*> words) {
    const std::wstring padded = L" " + folded + L" ";
    for (const wchar_t* w : words)
        if (padded.find(L" " + std::wstring(w) + L" ") != std::wstring::npos) return true;
    return false;
}

std::wstring ColumnName(const CsvTable& table, int column) {
    return column >= 0 && static_cast<size_t>(column) < table.names.size() ? table.names[static_cast<size_t>(column)]
                                                                            : L"?";
}

const wchar_t* OrderName(DateOrder order) {
    switch (order) {
        case DateOrder::DayMonthYear: return L"día/mes/año";
        case DateOrder::MonthDayYear: return L"mes/día/año";
        case DateOrder::YearMonthDay: return L"año-mes-día";
        case DateOrder::Undecided: break;
    }
    return L"?";
}

}  // namespace

wchar_t DetectSeparator(const std::wstring& text) {
    // The candidate whose cell count the most records share, at two cells or more.
    wchar_t best = L';';
    size_t bestAgree = 0;
    for (wchar_t sep : {L';', L'\t', L',', L'|'}) {
        std::map<size_t, size_t> counts;
        for (const Record& r : Records(text, sep))
            if (r.cells.size() >= 2) ++counts[r.cells.size()];
        for (const auto& [cells, n] : counts)
            if (n > bestAgree) bestAgree = n, best = sep;
    }
    return best;
}

CsvTable SplitCsv(const std::wstring& text, wchar_t separator) {
    CsvTable table;
    table.separator = separator;
    std::vector<Record> records = Records(text, separator);
    size_t first = 0;
    while (first < records.size() &&
           std::none_of(records[first].cells.begin(), records[first].cells.end(), IsDateText))
        ++first;
    if (first == records.size()) throw StatementError(0, L"El archivo no tiene ninguna línea con una fecha.");
    const size_t columns = records[first].cells.size();
    if (first > 0 && records[first - 1].cells.size() == columns) table.names = records[first - 1].cells;
    for (size_t c = 0; c < columns; ++c) {
        if (c >= table.names.size()) table.names.push_back(L"");
        if (table.names[c].empty()) table.names[c] = L"Columna " + std::to_wstring(c + 1);
    }
    for (size_t i = first; i < records.size(); ++i) {
        if (records[i].cells.size() != columns)
            throw StatementError(records[i].line, L"tiene " + std::to_wstring(records[i].cells.size()) +
                                                      L" columnas y las demás líneas " + std::to_wstring(columns) +
                                                      L" (¿un texto con el separador sin comillas?).");
        table.rows.push_back(std::move(records[i].cells));
        table.lines.push_back(records[i].line);
    }
    return table;
}

CsvLayout GuessLayout(const CsvTable& table) {
    CsvLayout layout;
    const int columns = static_cast<int>(table.names.size());
    auto all = [&](int c, bool (*test)(const std::wstring&)) {
        return std::all_of(table.rows.begin(), table.rows.end(),
                           [&](const auto& row) { return row[static_cast<size_t>(c)].empty() || test(row[static_cast<size_t>(c)]); });
    };
    std::vector<bool> taken(static_cast<size_t>(columns), false);
    auto pick = [&](int& role, auto matches) {
        for (int c = 0; c < columns && role < 0; ++c)
            if (!taken[static_cast<size_t>(c)] && matches(c)) role = c, taken[static_cast<size_t>(c)] = true;
    };
    auto named = [&](std::initializer_list<const wchar_t*> words) {
        return [&table, words](int c) { return HasWord(Folded(table.names[static_cast<size_t>(c)]), words); };
    };
    // Dates: the operation date before the value date.
    pick(layout.date, [&](int c) {
        const std::wstring n = Folded(table.names[static_cast<size_t>(c)]);
        return HasWord(n, {L"FECHA", L"DATE", L"F"}) && !HasWord(n, {L"VALOR"}) && all(c, IsDateText);
    });
    pick(layout.date, [&](int c) { return all(c, IsDateText); });
    pick(layout.balance, named({L"SALDO", L"BALANCE", L"DISPONIBLE"}));
    pick(layout.amount, named({L"IMPORTE", L"CANTIDAD", L"AMOUNT"}));
    if (layout.amount < 0) {
        pick(layout.income, named({L"INGRESO", L"INGRESOS", L"HABER", L"ABONO", L"ABONOS", L"CREDITO", L"ENTRADA",
                                   L"ENTRADAS", L"CREDIT"}));
        pick(layout.expense, named({L"GASTO", L"GASTOS", L"CARGO", L"CARGOS", L"DEBE", L"EGRESO", L"DEBITO",
                                    L"SALIDA", L"SALIDAS", L"DEBIT", L"PAGO", L"PAGOS"}));
    }
    pick(layout.wording, named({L"CONCEPTO", L"DESCRIPCION", L"DETALLE", L"MOVIMIENTO", L"OBSERVACIONES",
                                L"DESCRIPTION", L"CONCEPT"}));
    // Without names: the first column of amounts, and the first of text.
    if (layout.amount < 0 && layout.income < 0 && layout.expense < 0)
        pick(layout.amount, [&](int c) { return all(c, IsAmountText); });
    pick(layout.wording, [&](int c) { return !all(c, IsAmountText) && !all(c, IsDateText); });
    layout.decimal = DetectDecimal(table, layout);
    layout.order = DetectDateOrder(table, layout.date);
    return layout;
}

wchar_t DetectDecimal(const CsvTable& table, const CsvLayout& layout) {
    bool comma = false, point = false, any = false;
    for (int c : {layout.amount, layout.income, layout.expense, layout.balance}) {
        if (c < 0) continue;
        for (const auto& row : table.rows) {
            const std::wstring& cell = row[static_cast<size_t>(c)];
            if (cell.find_first_of(L",.") != std::wstring::npos) any = true;
            const wchar_t mark = MarkOf(cell);
            comma = comma || mark == L',';
            point = point || mark == L'.';
        }
    }
    if (comma != point) return comma ? L',' : L'.';
    // No mark at all: either reads every amount the same.
    return any ? 0 : L',';
}

DateOrder DetectDateOrder(const CsvTable& table, int column) {
    if (column < 0) return DateOrder::Undecided;
    std::vector<DateOrder> fits;
    for (DateOrder order : {DateOrder::DayMonthYear, DateOrder::MonthDayYear, DateOrder::YearMonthDay}) {
        bool all = !table.rows.empty();
        for (const auto& row : table.rows) {
            auto d = ReadDateCell(row[static_cast<size_t>(column)]);
            all = all && d && DateUnder(*d, order);
        }
        if (all) fits.push_back(order);
    }
    if (fits.size() == 1) return fits.front();
    // Day and month read both ways: decided only when they are the same in every date.
    if (fits.size() == 2 && std::all_of(table.rows.begin(), table.rows.end(), [&](const auto& row) {
            auto d = ReadDateCell(row[static_cast<size_t>(column)]);
            return d->part[0] == d->part[1];
        }))
        return DateOrder::DayMonthYear;
    return DateOrder::Undecided;
}

AccountStatement ReadCsvStatement(const CsvTable& table, const CsvLayout& layout, const Regional& regional) {
    if (layout.date < 0) throw StatementError(0, L"Elija la columna de la fecha.");
    if (layout.wording < 0) throw StatementError(0, L"Elija la columna del concepto.");
    if (layout.amount < 0 && layout.income < 0 && layout.expense < 0)
        throw StatementError(0, L"Elija la columna del importe, o las de ingresos y gastos.");
    if (layout.order == DateOrder::Undecided)
        throw StatementError(0, L"Las fechas de la columna «" + ColumnName(table, layout.date) +
                                    L"» se leen igual día/mes que mes/día: elija el orden de las fechas.");
    if (layout.decimal == 0)
        throw StatementError(0, L"Los importes del archivo se leen igual con coma que con punto decimal "
                                L"(«1.234» puede ser mil o uno): elija el separador decimal.");
    AccountStatement s;
    s.format = StatementFormat::Csv;
    std::vector<std::string> keys;
    std::vector<std::int64_t> balances;
    std::string all;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const auto& row = table.rows[i];
        const int line = table.lines[i];
        auto cell = [&](int c) -> const std::wstring& { return row[static_cast<size_t>(c)]; };
        auto amount = [&](int c, bool required) -> std::optional<std::int64_t> {
            if (c < 0 || (cell(c).empty() && !required)) return std::nullopt;
            auto cents = CentsIn(cell(c), layout.decimal);
            if (!cents)
                throw StatementError(line, L"«" + cell(c) + L"», en la columna «" + ColumnName(table, c) +
                                               L"», no es un importe con «" + std::wstring(1, layout.decimal) +
                                               L"» como separador decimal.");
            return cents;
        };
        BankMovement m;
        m.line = line;
        auto date = ReadDateCell(cell(layout.date));
        auto value = date ? DateUnder(*date, layout.order) : std::nullopt;
        if (!value)
            throw StatementError(line, L"«" + cell(layout.date) + L"», en la columna «" +
                                           ColumnName(table, layout.date) + L"», no es una fecha " +
                                           OrderName(layout.order) + L".");
        m.date = *value;
        m.wording = cell(layout.wording);
        if (layout.amount >= 0) {
            m.cents = *amount(layout.amount, true);
        } else {
            auto in = amount(layout.income, false), out = amount(layout.expense, false);
            if (in && out && *in != 0 && *out != 0)
                throw StatementError(line, L"tiene importe de ingreso y de gasto a la vez.");
            if (!in && !out) throw StatementError(line, L"no tiene importe de ingreso ni de gasto.");
            // An expense may be written with its minus sign or without it.
            m.cents = in && *in != 0 ? *in : out ? -std::llabs(*out) : 0;
        }
        if (layout.balance >= 0) balances.push_back(*amount(layout.balance, true));
        std::string key = "CSV";
        for (const auto& c : row) {
            key += '|';
            key += ToUtf8(c);
        }
        all += key;
        all += '\n';
        keys.push_back(std::move(key));
        s.movements.push_back(std::move(m));
    }
    if (s.movements.empty()) throw StatementError(0, L"El archivo no tiene movimientos.");
    AssignFingerprints(s.movements, keys);
    s.fingerprint = TextFingerprint(all);

    // The file may list the newest first: its balances, or else its dates, tell.
    const size_t n = s.movements.size();
    auto chain = [&](bool newestFirst) -> size_t {  // the first row that breaks it, or n
        for (size_t i = 1; i < n; ++i) {
            const size_t older = newestFirst ? i : i - 1, newer = newestFirst ? i - 1 : i;
            if (balances[newer] != balances[older] + s.movements[newer].cents) return i;
        }
        return n;
    };
    bool newestFirst = s.movements.front().date > s.movements.back().date;
    if (!balances.empty()) {
        if (chain(newestFirst) != n && chain(!newestFirst) == n) newestFirst = !newestFirst;
        if (size_t broken = chain(newestFirst); broken != n) {
            const size_t before = newestFirst ? broken : broken - 1, at = newestFirst ? broken - 1 : broken;
            throw StatementError(s.movements[at].line,
                                 L"el saldo " + CentsText(balances[at], regional) + L" no es el saldo de la línea " +
                                     std::to_wstring(s.movements[before].line) + L" (" +
                                     CentsText(balances[before], regional) + L") más el importe " +
                                     CentsText(s.movements[at].cents, regional) + L".");
        }
        const size_t oldest = newestFirst ? n - 1 : 0, newest = newestFirst ? 0 : n - 1;
        s.initialCents = balances[oldest] - s.movements[oldest].cents;
        s.finalCents = balances[newest];
    }
    if (newestFirst) std::reverse(s.movements.begin(), s.movements.end());
    SortByDate(s.movements);
    s.firstDate = s.movements.front().date;
    s.lastDate = s.movements.back().date;
    s.line = table.lines.front();
    return s;
}

}  // namespace arc
