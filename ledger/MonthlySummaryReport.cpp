#include "MonthlySummaryReport.h"

#include "MonthlySummaryLayout.h"
#include "platform/report/Report.h"
#include "platform/runtime/Error.h"
#include "platform/window/Form.h"

#include <cwctype>

namespace arc {
namespace {

std::wstring MonthAndYear(MonthNumber m) {
    return std::wstring(MonthName(MonthIn(m))) + L" de " + std::to_wstring(YearOf(m));
}

std::wstring Capitalised(std::wstring text) {
    if (!text.empty()) text[0] = static_cast<wchar_t>(std::towupper(text[0]));
    return text;
}

}  // namespace

std::wstring MonthlySummaryTitle(const std::wstring& entityName, const MonthlySummary& summary) {
    std::wstring months = summary.first == summary.last
                              ? Capitalised(MonthAndYear(summary.first))
                              : L"De " + MonthAndYear(summary.first) + L" a " + MonthAndYear(summary.last);
    std::wstring title = entityName + L"\r\n" + L"Resumen mensual" + L"\r\n" + months;
    if (summary.byQuarter)
        title += L"\r\nPor trimestres: el periodo pasa de " + std::to_wstring(kMonthsShownOneByOne) + L" meses";
    return title;
}

std::shared_ptr<report::MemorySource> MonthlySummaryRows(const MonthlySummary& summary) {
    auto rows = std::make_shared<report::MemorySource>(
        std::vector<std::wstring>{L"MES", L"PERIODO", L"INGRESO", L"EGRESO", L"RESULTADO", L"FONDO"});
    for (const SummaryPeriod& p : summary.periods)
        rows->Add({data::Value::Text(p.Label()), data::Value::Text(MonthKey(p.first)), data::Value::Real(p.income),
                   data::Value::Real(p.expense), data::Value::Real(p.result), data::Value::Real(p.fund)});
    return rows;
}

bool RunMonthlySummary(HWND owner, Host& host, LedgerDatabase& db, double desde, double hasta,
                       const std::wstring& entityName, const report::PreviewOptions& preview) {
    try {
        db.CONEXION();
        MonthlySummary summary = ReadMonthlySummary(db, desde, hasta);
        report::Report report(MonthlySummaryLayout(summary, host.Regional()));
        report.SetTitle(MonthlySummaryTitle(entityName, summary));
        report.SetDataSource(MonthlySummaryRows(summary));
        report::PreviewOptions options = preview;
        if (options.documentName == report::PreviewOptions{}.documentName) options.documentName = L"Resumen mensual";
        report.Show(owner, host, options);
        return true;
    } catch (...) {
        ShowRuntimeError(host, owner, CurrentError());
    }
    return false;
}

}  // namespace arc
