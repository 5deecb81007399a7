#include "MonthlySummaryLayout.h"

#include "AmountColours.h"
#include "MonthlySummaryChart.h"
#include "ReportStyle.h"
#include "platform/report/Layout.h"

namespace arc {
namespace {

using report::Align;
using report::ControlKind;
using report::ReportControl;
using report::SectionKind;
using report::TextStyle;

const TextStyle kTableFont{L"Arial", 10};
const TextStyle kTotalFont{L"Arial", 10, true};
constexpr int kChartTop = 480;
constexpr int kRowHeight = 285;

// The table's columns: where each starts and how wide it is; the amounts
// end where their headings' text ends.
struct Column {
    int left, width;
};
constexpr Column kPeriod{0, 2395}, kIncome{2400, 1945}, kExpense{4350, 1945}, kResult{6300, 1945},
    kFund{8250, kSummaryWidth - 8250};
constexpr int kInset = report::kTextInset;

ReportControl Amount(const wchar_t* name, ControlKind kind, Column column, const wchar_t* field, const TextStyle& font,
                     int top = 0) {
    return ReportControl{.name = name, .kind = kind, .left = column.left, .top = top,
                         .width = column.width - kInset, .height = 240, .field = field, .format = kAmountToTheCent,
                         .font = font, .align = Align::Right};
}

std::wstring EmptyNotice(const MonthlySummary& summary) {
    if (summary.MonthCount() == 0) return L"No hay meses que resumir: «Desde» es posterior a «Hasta».";
    return L"No hay movimientos en estos meses.";
}

}  // namespace

report::ReportModel MonthlySummaryLayout(const MonthlySummary& summary, const Regional& regional) {
    report::ReportModel m;
    m.width = kSummaryWidth;
    m.font = TextStyle{L"Arial", 8.25};

    std::vector<ReportControl> header = {
        ReportTitle(L"Titulo", kSummaryWidth),
    };
    int headerHeight = kChartTop;
    if (summary.hasMovements) {
        SummaryChart chart = MonthlySummaryChart(summary, regional, kChartTop, kSummaryWidth);
        header.insert(header.end(), chart.controls.begin(), chart.controls.end());
        headerHeight += chart.height;
    } else {
        header.push_back(ReportControl{.name = L"Aviso", .kind = ControlKind::Label, .left = 0, .top = kChartTop,
                                       .width = kSummaryWidth, .height = 300, .caption = EmptyNotice(summary),
                                       .font = TextStyle{L"Arial", 12}, .align = Align::Center});
        headerHeight += 540;
    }
    m.sections.push_back({L"Encabezado", SectionKind::ReportHeader, headerHeight, header});

    const wchar_t* period = summary.byQuarter ? L"Trimestre" : L"Mes";
    ReportControl income = ReportHeading(L"TituloIngreso", kIncome.left, kIncome.width, L"Ingreso", Align::Right);
    income.fore = kIncomeColour;
    ReportControl expense = ReportHeading(L"TituloEgreso", kExpense.left, kExpense.width, L"Egreso", Align::Right);
    expense.fore = kExpenseColour;
    m.sections.push_back({L"Columnas", SectionKind::PageHeader, 330, {
        ReportHeading(L"TituloPeriodo", kPeriod.left, kPeriod.width, period, Align::Left),
        income,
        expense,
        ReportHeading(L"TituloResultado", kResult.left, kResult.width, L"Resultado", Align::Right),
        ReportHeading(L"TituloFondo", kFund.left, kFund.width, L"Fondo al cierre", Align::Right),
    }});

    m.sections.push_back({L"Periodo", SectionKind::Detail, kRowHeight, {
        ReportControl{.name = L"Mes", .kind = ControlKind::TextField, .left = kPeriod.left + kInset, .top = 0,
                      .width = kPeriod.width - kInset, .height = 240, .field = L"MES", .font = kTableFont},
        Amount(L"Ingreso", ControlKind::TextField, kIncome, L"INGRESO", kTableFont),
        Amount(L"Egreso", ControlKind::TextField, kExpense, L"EGRESO", kTableFont),
        Amount(L"Resultado", ControlKind::TextField, kResult, L"RESULTADO", kTableFont),
        Amount(L"Fondo", ControlKind::TextField, kFund, L"FONDO", kTableFont),
        ReportControl{.name = L"Renglon", .kind = ControlKind::Polyline, .left = 0, .top = kRowHeight - 15,
                      .width = kSummaryWidth, .height = 0, .fore = RGB(210, 210, 210),
                      .points = {POINT{0, 0}, POINT{kSummaryWidth, 0}}},
    }});

    m.sections.push_back({L"Totales", SectionKind::ReportFooter, 420, {
        ReportControl{.name = L"LineaTotales", .kind = ControlKind::Line, .left = 0, .top = 60,
                      .width = kSummaryWidth, .height = 0},
        ReportControl{.name = L"Total", .kind = ControlKind::Label, .left = kPeriod.left + kInset, .top = 120,
                      .width = kPeriod.width - kInset, .height = 240, .caption = L"Total", .font = kTotalFont},
        Amount(L"TotalIngreso", ControlKind::Sum, kIncome, L"INGRESO", kTotalFont, 120),
        Amount(L"TotalEgreso", ControlKind::Sum, kExpense, L"EGRESO", kTotalFont, 120),
        Amount(L"TotalResultado", ControlKind::Sum, kResult, L"RESULTADO", kTotalFont, 120),
        Amount(L"FondoFinal", ControlKind::Last, kFund, L"FONDO", kTotalFont, 120),
    }});

    using Kind = report::ExportColumn::Kind;
    m.exportColumns = {
        {.heading = period, .field = L"PERIODO", .kind = Kind::Text, .totalText = L"Total"},
        {.heading = L"Ingreso", .field = L"INGRESO", .kind = Kind::Number, .totalOf = L"INGRESO"},
        {.heading = L"Egreso", .field = L"EGRESO", .kind = Kind::Number, .totalOf = L"EGRESO"},
        {.heading = L"Resultado", .field = L"RESULTADO", .kind = Kind::Number, .totalOf = L"RESULTADO"},
        {.heading = L"Fondo al cierre", .field = L"FONDO", .kind = Kind::Number, .lastOf = L"FONDO"},
    };
    return m;
}

}  // namespace arc
