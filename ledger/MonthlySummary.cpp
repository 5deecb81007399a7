#include "MonthlySummary.h"

#include "platform/runtime/DateValue.h"

#include <cwchar>
#include <cwctype>

namespace arc {
namespace {

const wchar_t* const kMonthNames[12] = {L"enero", L"febrero", L"marzo",      L"abril",   L"mayo",      L"junio",
                                        L"julio", L"agosto",  L"septiembre", L"octubre", L"noviembre", L"diciembre"};
const wchar_t* const kMonthAbbreviations[12] = {L"ene", L"feb", L"mar", L"abr", L"may", L"jun",
                                                L"jul", L"ago", L"sep", L"oct", L"nov", L"dic"};

// "YYYY-MM" read back; false for any other text.
bool ReadMonthKey(const std::wstring& key, MonthNumber& month) {
    if (key.size() != 7 || key[4] != L'-') return false;
    for (int i : {0, 1, 2, 3, 5, 6})
        if (!std::iswdigit(key[i])) return false;
    int year = std::stoi(key.substr(0, 4)), m = std::stoi(key.substr(5, 2));
    if (m < 1 || m > 12) return false;
    month = year * 12 + m - 1;
    return true;
}

// The first month of the quarter that holds m, or the range's first month
// when the quarter starts before the range.
MonthNumber PeriodStart(MonthNumber m, MonthNumber first, bool byQuarter) {
    if (!byQuarter) return m;
    MonthNumber quarter = m - (MonthIn(m) - 1) % 3;
    return quarter < first ? first : quarter;
}

}  // namespace

MonthNumber MonthOf(double date) {
    DateParts p = SplitDate(date);
    return p.year * 12 + p.month - 1;
}

std::wstring MonthKey(MonthNumber m) {
    wchar_t key[16];
    swprintf(key, 16, L"%04d-%02d", YearOf(m), MonthIn(m));
    return key;
}

const wchar_t* MonthName(int month) { return kMonthNames[(month + 11) % 12]; }
const wchar_t* MonthAbbreviation(int month) { return kMonthAbbreviations[(month + 11) % 12]; }

std::wstring SummaryPeriod::Label() const {
    std::wstring months = MonthAbbreviation(MonthIn(first));
    if (last != first) months = months + L"-" + MonthAbbreviation(MonthIn(last));
    return months + L" " + std::to_wstring(YearOf(last));
}

std::wstring MonthTotalsQuery(MonthNumber first, MonthNumber last) {
    return L"SELECT substr(FECHA, 1, 7) AS MES, TOTAL(INGRESO) AS INGRESO, TOTAL(EGRESO) AS EGRESO, "
           L"TOTAL(INGEGR) AS INGEGR FROM FINANZAS WHERE substr(FECHA, 1, 7) BETWEEN '" +
           MonthKey(first) + L"' AND '" + MonthKey(last) + L"' GROUP BY MES ORDER BY MES";
}

std::wstring FundBeforeQuery(MonthNumber first) {
    // "YYYY-MM-DD" sorts before "YYYY-MM" exactly when its month is earlier.
    return L"SELECT TOTAL(INGEGR) AS FONDO FROM FINANZAS WHERE FECHA < '" + MonthKey(first) + L"'";
}

MonthlySummary SummarizeMonths(MonthNumber first, MonthNumber last, double fundBefore,
                               const std::vector<MonthTotals>& months) {
    MonthlySummary s;
    s.first = first;
    s.last = last;
    s.fundBefore = fundBefore;
    s.byQuarter = s.MonthCount() > kMonthsShownOneByOne;
    if (s.MonthCount() == 0) return s;
    std::vector<MonthTotals> byMonth(static_cast<size_t>(s.MonthCount()));
    for (const MonthTotals& m : months) {
        if (m.month < first || m.month > last) continue;
        MonthTotals& slot = byMonth[static_cast<size_t>(m.month - first)];
        slot.income += m.income;
        slot.expense += m.expense;
        slot.result += m.result;
        s.hasMovements = true;
    }
    double fund = fundBefore;
    for (MonthNumber m = first; m <= last; ++m) {
        MonthNumber start = PeriodStart(m, first, s.byQuarter);
        if (s.periods.empty() || s.periods.back().first != start) s.periods.push_back(SummaryPeriod{start, start});
        SummaryPeriod& p = s.periods.back();
        const MonthTotals& t = byMonth[static_cast<size_t>(m - first)];
        p.last = m;
        p.income += t.income;
        p.expense += t.expense;
        p.result += t.result;
        fund += t.result;
        p.fund = fund;
    }
    return s;
}

MonthlySummary ReadMonthlySummary(const LedgerDatabase& database, double desde, double hasta) {
    MonthNumber first = MonthOf(desde), last = MonthOf(hasta);
    if (last < first) return SummarizeMonths(first, last, 0, {});
    auto rows = database.OpenRecordset(MonthTotalsQuery(first, last));
    std::vector<MonthTotals> months;
    for (size_t r = 0; r < rows->RecordCount(); ++r) {
        MonthTotals t;
        // A date not written as "YYYY-MM-DD" names no month; it is left out.
        if (!ReadMonthKey(rows->At(r, 0).AsText(), t.month)) continue;
        t.income = rows->At(r, 1).AsDouble();
        t.expense = rows->At(r, 2).AsDouble();
        t.result = rows->At(r, 3).AsDouble();
        months.push_back(t);
    }
    auto before = database.OpenRecordset(FundBeforeQuery(first));
    double fundBefore = before->RecordCount() ? before->At(0, 0).AsDouble() : 0;
    return SummarizeMonths(first, last, fundBefore, months);
}

}  // namespace arc
